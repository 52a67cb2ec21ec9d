#include <gtest/gtest.h>

#include "image/BlendModes.h"

namespace {

int blend(const char* id, int s, int w, int d, int a)
{
    EXPECT_TRUE(blendModes.contains(id)) << id;
    return blendModes.entryAt(blendModes.indexOf(id)).function(
        static_cast<unsigned char>(s), static_cast<unsigned char>(w),
        static_cast<unsigned char>(d), static_cast<unsigned char>(a));
}

// Static initialisers of other files may already use the tables.
const int blendCountAtStartup = blendModes.count();
const int sqrtEntryAtStartup = sqrtTable[128];

} // namespace

TEST(BlendModeTable, ReadyForOtherStaticInitialisers)
{
    EXPECT_EQ(blendCountAtStartup, 223);
    EXPECT_EQ(sqrtEntryAtStartup, 181);
}

TEST(BlendTables, SquareRootTableTellingEntries)
{
    const int pairs[][2] = {{0, 0}, {1, 15}, {4, 31}, {16, 63}, {64, 127}, {128, 181}, {192, 221}, {255, 255}};
    for (const auto& p : pairs)
        EXPECT_EQ(sqrtTable[p[0]], p[1]) << p[0];
}

TEST(BlendTables, SCurveTableTellingEntries)
{
    const int pairs[][2] = {{0, 0},    {16, 29},   {32, 53},   {64, 88},   {96, 111},  {127, 127},
                            {128, 128}, {160, 145}, {192, 168}, {224, 204}, {254, 253}, {255, 255}};
    for (const auto& p : pairs)
        EXPECT_EQ(sCurveTable[p[0]], p[1]) << p[0];
}

TEST(BlendModeTable, CountOrderAndIdentifiersMapBack)
{
    ASSERT_EQ(blendModes.count(), 223);
    for (int i = 0; i < blendModes.count(); ++i) {
        const auto& e = blendModes.entryAt(i);
        EXPECT_EQ(blendModes.indexOf(e.id), i) << e.id;
    }
    EXPECT_EQ(blendModes.entryAt(0).id, "scl");
    EXPECT_EQ(blendModes.entryAt(0).displayName, "blend");
    EXPECT_TRUE(blendModes.entryAt(0).function == defaultBlendKernel());
    EXPECT_EQ(blendModes.indexOf("dpte10_exp7"), 195);
    EXPECT_EQ(blendModes.entryAt(222).id, "minsv");
    EXPECT_EQ(blendModes.entryAt(9).displayName, "overlay  1/2");
    EXPECT_EQ(blendModes.entryAt(10).displayName, "overlay  blend");
    EXPECT_EQ(blendModes.entryAt(102).displayName, "mix darken/ exp7");
    EXPECT_EQ(blendModes.entryAt(31).id, "exp7a");
    EXPECT_EQ(blendModes.entryAt(39).id, "exp16");
    EXPECT_EQ(blendModes.entryAt(53).id, "stfs_min_in_exp10");
    EXPECT_EQ(blendModes.entryAt(98).id, "mixfsa_min_in_exp10");
    EXPECT_EQ(blendModes.entryAt(162).id, "dta16_max_in");
    EXPECT_EQ(blendModes.entryAt(189).id, "dpte10_max_in");
    EXPECT_EQ(blendModes.entryAt(207).id, "mvtm32_max_in");
    EXPECT_EQ(blendModes.entryAt(207).displayName, "mvtm max_in");
    EXPECT_FALSE(blendModes.contains("exp15"));
    EXPECT_EQ(blendModes.entryAt(223).id, "invalid_id");
}

TEST(BlendModeTable, EveryKernelIsDefinedOnEdgeInputs)
{
    // Divisions by the weight, alpha or weighted source must all be guarded.
    const int v[] = {0, 1, 2, 15, 16, 17, 31, 64, 110, 111, 127, 128, 129, 200, 254, 255};
    long sum = 0;
    for (int i = 0; i < blendModes.count(); ++i) {
        BlendKernel k = blendModes.entryAt(i).function;
        for (int s : v)
            for (int w : v)
                for (int d : v)
                    for (int a : v)
                        sum += k(s, w, d, a);
    }
    EXPECT_GT(sum, 0);
}

TEST(BlendKernels, BlendStepsWithFlooredShift)
{
    EXPECT_EQ(blend("scl", 255, 255, 0, 255), 254);
    EXPECT_EQ(blend("scl", 0, 255, 255, 255), 1);
    EXPECT_EQ(blend("scl", 200, 128, 100, 255), 150);
    for (int s = 0; s < 256; s += 51)
        EXPECT_EQ(blend("scl", s, 0, 77, 255), 77);
    EXPECT_EQ(blend("avg", 200, 0, 100, 0), 150);
    EXPECT_EQ(blend("avg_scl", 200, 128, 100, 255), 125);
    EXPECT_EQ(blend("minsv", 10, 0, 100, 0), 60);
    EXPECT_EQ(blend("minsv", 200, 255, 100, 255), 100);
}

TEST(BlendKernels, MultiplyScreenOverlayFamilies)
{
    EXPECT_EQ(blend("multiply_scl", 255, 255, 255, 255), 255);
    EXPECT_EQ(blend("multiply_scl", 128, 255, 128, 255), 64);
    EXPECT_EQ(blend("multiply_scl", 0, 255, 0, 255), 0);
    EXPECT_EQ(blend("screen_half", 128, 255, 128, 255), 160);
    EXPECT_EQ(blend("overlay_scl", 255, 255, 0, 255), 0);
    EXPECT_EQ(blend("overlay_scl", 0, 255, 255, 255), 255);
    EXPECT_EQ(blend("overlay_half", 128, 255, 128, 255), 127);
    EXPECT_EQ(blend("overlay_scl", 128, 255, 128, 255), 127);
    EXPECT_EQ(blend("hardlight_half", 128, 255, 128, 255), 127);
    EXPECT_EQ(blend("hardlight_scl", 128, 255, 128, 255), 127);
    EXPECT_EQ(blend("softlight_half", 128, 255, 128, 255), 128);
    EXPECT_EQ(blend("softlight_scl", 128, 255, 128, 255), 129);
    // The dark-source branch multiplies by a negative k.
    EXPECT_EQ(blend("softlight_half", 0, 255, 128, 255), (191 + 128) >> 1);
    EXPECT_EQ(blend("difference_quarter_scl", 255, 255, 0, 255), 63);
    EXPECT_EQ(blend("src_over", 200, 128, 100, 255), 150);
}

TEST(BlendKernels, DarkenLightenMaxMinFamilies)
{
    EXPECT_EQ(blend("darken", 200, 255, 100, 255), 100);
    EXPECT_EQ(blend("lighten", 200, 255, 100, 255), 200);
    EXPECT_EQ(blend("darken", 0, 0, 0, 0), 0);
    EXPECT_EQ(blend("lighten", 255, 255, 255, 255), 255);
    EXPECT_EQ(blend("lighten_scl", 200, 128, 100, 255), 150);
    EXPECT_EQ(blend("darken_mod", 200, 255, 100, 255), 100);
    EXPECT_EQ(blend("lighten_mod_scl", 200, 255, 100, 255), 168);
    EXPECT_EQ(blend("max_dot", 200, 255, 100, 255), 248);
    EXPECT_EQ(blend("max_in", 200, 255, 100, 255), 200);
    EXPECT_EQ(blend("max_scl", 50, 255, 100, 255), 100);
    EXPECT_EQ(blend("min_in", 200, 255, 100, 255), 100);
    EXPECT_EQ(blend("maxdesta", 50, 255, 100, 0), 100);
    EXPECT_EQ(blend("maxdesta", 50, 255, 100, 255), 50);
}

TEST(BlendKernels, DodgeAndBurn)
{
    EXPECT_EQ(blend("colordodge_half", 128, 255, 128, 255), 191);
    EXPECT_EQ(blend("colordodge_scl", 0, 255, 100, 255), 100);
    // Burn is not clamped: 256 wraps to 0 before the step.
    EXPECT_EQ(blend("colorburn_scl", 10, 255, 255, 255), 1);
    EXPECT_EQ(blend("colorburn_half", 10, 255, 255, 255), 127);
    EXPECT_EQ(blend("colorburn_scl", 0, 0, 0, 0), 0);
}

TEST(BlendKernels, ExpKernels)
{
    EXPECT_EQ(blend("exp4", 200, 255, 100, 255), 254);
    EXPECT_EQ(blend("exp4", 50, 255, 100, 255), 75);
    // p = 206 takes the reflected branch (e = 254); plain would give 128.
    EXPECT_EQ(blend("exp5", 206, 255, 255, 255), 254);
    EXPECT_EQ(blend("exp5", 205, 255, 255, 255), 255);
    EXPECT_EQ(blend("exp5", 0, 0, 0, 0), 0);
    EXPECT_EQ(blend("exp6", 0, 0, 0, 0), 0);
    EXPECT_EQ(blend("exp6", 255, 255, 255, 255), 225);
    EXPECT_EQ(blend("exp7", 200, 255, 100, 255), 112);
    EXPECT_EQ(blend("exp7", 250, 255, 240, 255), 241);
    EXPECT_EQ(blend("exp7a", 250, 255, 240, 255), 246);
    EXPECT_EQ(blend("exp8", 100, 255, 60, 255), 80);
    EXPECT_EQ(blend("exp8", 100, 255, 40, 255), 40);
    EXPECT_EQ(blend("exp9", 200, 255, 100, 255), 150);
    EXPECT_EQ(blend("exp9", 200, 255, 50, 255), 50);
    EXPECT_EQ(blend("exp10", 77, 255, 77, 255), 77);
    EXPECT_EQ(blend("exp10", 100, 255, 50, 255), 95);
    EXPECT_EQ(blend("exp10", 0, 255, 100, 255), 128);
    EXPECT_EQ(blend("exp11", 200, 255, 100, 255), 254);
    EXPECT_EQ(blend("exp12", 30, 255, 100, 255), 30);
    EXPECT_EQ(blend("exp12", 100, 255, 250, 255), 51);
    EXPECT_EQ(blend("exp13", 128, 255, 128, 255), 64);
    EXPECT_EQ(blend("exp14", 100, 255, 250, 255), 0);
    EXPECT_EQ(blend("exp16", 200, 255, 100, 255), 100);
    EXPECT_EQ(blend("exp16", 100, 255, 150, 255), 50);
    EXPECT_EQ(blend("exp17", 200, 255, 100, 255), 0);
    EXPECT_EQ(blend("exp18", 0, 255, 0, 0), 0);
    EXPECT_EQ(blend("exp18", 255, 255, 255, 255), 2);
    EXPECT_EQ(blend("exp19", 255, 255, 255, 255), 255);
    EXPECT_EQ(blend("exp20", 64, 255, 64, 255), 64);
    EXPECT_EQ(blend("exp21", 64, 255, 64, 255), 32);
    EXPECT_EQ(blend("exp22", 255, 255, 255, 255), 255);
    EXPECT_EQ(blend("exp23", 128, 255, 128, 255), 64);
    EXPECT_EQ(blend("exp24", 0, 255, 0, 255), 0);
    EXPECT_EQ(blend("exp24", 255, 255, 255, 255), 255);
    EXPECT_EQ(blend("exp25", 0, 255, 0, 255), 0);
    EXPECT_EQ(blend("exp25", 255, 255, 255, 255), 255);
    EXPECT_EQ(blend("exp26", 100, 255, 51, 255), 37);
    EXPECT_EQ(blend("exp26", 255, 255, 255, 255), 255);
    EXPECT_EQ(blend("exp27", 255, 255, 100, 255), 125);
    EXPECT_EQ(blend("exp28", 0, 0, 0, 0), 0);
    EXPECT_EQ(blend("exp28", 255, 0, 0, 0), 255);
    EXPECT_EQ(blend("exp28", 90, 0, 200, 0), 90);
    EXPECT_EQ(blend("exp29", 17, 255, 0, 255), 0);
    EXPECT_EQ(blend("exp29", 17, 255, 255, 255), 255);
}

TEST(BlendKernels, SplitTestsTheSourceOnly)
{
    for (int d = 0; d < 256; d += 15) {
        EXPECT_EQ(blend("stfs_darken_exp5", 127, 200, d, 180), blend("darken", 127, 200, d, 180)) << d;
        EXPECT_EQ(blend("stfs_darken_exp5", 128, 200, d, 180), blend("exp5", 128, 200, d, 180)) << d;
        EXPECT_EQ(blend("stfs_exp19_max_scl", 128, 200, d, 180), blend("max_scl", 128, 200, d, 180)) << d;
    }
    // Raw parts: "overlay" is O itself, "max" is max(s, d).
    EXPECT_EQ(blend("stfs_overlay_darken", 0, 255, 255, 255), 255);
    EXPECT_EQ(blend("stfs_exp17_max", 200, 0, 100, 0), 200);
}

TEST(BlendKernels, MixMovesFromFirstTowardSecondByWeight)
{
    // Weight 0: the first part's result; the second part only enters by w.
    EXPECT_EQ(blend("mixfsa_exp16_avg", 200, 0, 100, 255), blend("exp16", 200, 0, 100, 255));
    const int x = blend("darken", 200, 255, 100, 255);
    const int y = blend("exp9", 200, 255, 100, 255);
    EXPECT_EQ(blend("mixfsa_darken_exp9", 200, 255, 100, 255), x + (((y - x) * 255 + 127) >> 8));
    // "multply" is the raw multiply (64 here, no step of its own); darken
    // mod gives 128, and the full weight lands on 64.
    EXPECT_EQ(blend("mixfsa_darken_mod_multply", 128, 255, 128, 255), 64);
}

TEST(BlendKernels, NearAveragePushApartAndDarkGuard)
{
    EXPECT_EQ(blend("dta16_exp7", 100, 255, 115, 255), 107);
    EXPECT_EQ(blend("dta16_exp7", 100, 255, 116, 255), blend("exp7", 100, 255, 116, 255));
    EXPECT_EQ(blend("dta16_exp7", 115, 255, 100, 255), 107);
    EXPECT_EQ(blend("dpte10_exp7", 100, 255, 95, 255), 90);
    EXPECT_EQ(blend("dpte10_exp7", 5, 255, 0, 255), 0);
    EXPECT_EQ(blend("dpte10_exp7", 250, 255, 255, 255), 255);
    EXPECT_EQ(blend("dpte10_exp7", 100, 255, 110, 255), blend("exp7", 100, 255, 110, 255));
    EXPECT_EQ(blend("mvtm32_exp7", 10, 255, 100, 255), 60);
    EXPECT_EQ(blend("mvtm32_exp7", 200, 255, 100, 255), blend("exp7", 200, 255, 100, 255));
}
