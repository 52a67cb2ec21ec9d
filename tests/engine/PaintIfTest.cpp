#include "engine/PaintIf.h"

#include "image/ColourMath.h"

#include <gtest/gtest.h>

#include <string>

namespace {

template <class Registry>
PaintIfPredicate predicate(const Registry& registry, const char* id)
{
    EXPECT_TRUE(registry.contains(id)) << id;
    return registry.entryAt(registry.indexOf(id)).function;
}

bool paintIf(const char* id, const Pixel& src, const Pixel& dest)
{
    return predicate(paintIfPredicates, id)(&src, &dest);
}

bool sticky(const char* id, const Pixel& src, const Pixel& dest)
{
    return predicate(stickyTypePredicates, id)(&src, &dest);
}

bool startsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

Pixel grey(int level)
{
    return Pixel(uint8_t(level), uint8_t(level), uint8_t(level), 255);
}

template <class Registry>
void expectIdsMapToTheirRows(const Registry& registry)
{
    for (int i = 0; i < registry.count(); ++i)
        EXPECT_EQ(registry.indexOf(registry.entryAt(i).id), i) << i;
}

} // namespace

TEST(PaintIfRegistries, RowsKeepTheirIdsAndOrder)
{
    ASSERT_EQ(paintIfPredicates.count(), 99);
    ASSERT_EQ(stickyTypePredicates.count(), 35);
    expectIdsMapToTheirRows(paintIfPredicates);
    expectIdsMapToTheirRows(stickyTypePredicates);
    EXPECT_EQ(paintIfPredicates.entryAt(0).id, "all");
    EXPECT_EQ(paintIfPredicates.entryAt(16).id, "bright_near08");
    EXPECT_EQ(paintIfPredicates.entryAt(98).displayName, "dest part alpha");
    EXPECT_EQ(stickyTypePredicates.entryAt(0).id, "none");
    EXPECT_EQ(stickyTypePredicates.entryAt(0).displayName, "original");
    EXPECT_EQ(stickyTypePredicates.indexOf("bright_lt"), 3);
    EXPECT_EQ(stickyTypePredicates.entryAt(3).displayName, "higher brightness");
    EXPECT_EQ(stickyTypePredicates.entryAt(34).id, "dest_not_mid_sat");
    EXPECT_EQ(paintIfPredicates.indexOf("unknown id"), 0);

    const Pixel p = grey(10);
    EXPECT_TRUE(defaultPaintIf()(&p, &p));
    EXPECT_FALSE(defaultStickyType()(&p, &p));
    EXPECT_EQ(defaultPaintIf(), paintIfPredicates.entryAt(0).function);
    EXPECT_EQ(defaultStickyType(), stickyTypePredicates.entryAt(0).function);
    // An index equal to the count is already a miss: never paints.
    EXPECT_FALSE(paintIfPredicates.entryAt(99).function(&p, &p));
    EXPECT_FALSE(stickyTypePredicates.entryAt(35).function(&p, &p));
}

TEST(PaintIfRegistries, EqualPixelsAreSimilarAndNeverHigherLowerOrDifferent)
{
    const Pixel samples[] = {grey(0), grey(90), Pixel(255, 0, 0, 255), Pixel(12, 200, 77, 40),
                             Pixel(255, 255, 255, 0), Pixel(1, 2, 3, 128)};
    for (const Pixel& p : samples) {
        for (const auto* registry : {static_cast<const NamedRegistry<PaintIfPredicate>*>(&paintIfPredicates),
                                     static_cast<const NamedRegistry<PaintIfPredicate>*>(&stickyTypePredicates)}) {
            for (int i = 0; i < registry->count(); ++i) {
                const std::string name = registry->entryAt(i).displayName;
                const bool result = registry->entryAt(i).function(&p, &p);
                if (name == "all" || startsWith(name, "similar")) {
                    EXPECT_TRUE(result) << name;
                } else if (name == "original" || startsWith(name, "higher") ||
                           startsWith(name, "lower") || startsWith(name, "different")) {
                    EXPECT_FALSE(result) << name;
                }
            }
        }
    }
}

TEST(PaintIfPredicates, OrderingSenseDiffersBetweenTables)
{
    const Pixel dark = grey(40);
    const Pixel light = grey(200);
    // Paint If: "higher" paints where the destination is higher.
    EXPECT_TRUE(paintIf("bright_lt", dark, light));
    EXPECT_FALSE(paintIf("bright_gt", dark, light));
    // Sticky: "higher" takes up a source that is higher; the brightness ids
    // are the swapped ones that stored presets carry.
    EXPECT_TRUE(sticky("bright_lt", light, dark));
    EXPECT_FALSE(sticky("bright_lt", dark, light));
    EXPECT_TRUE(sticky("bright_gt", dark, light));
    EXPECT_TRUE(sticky("red_gt", Pixel(9, 0, 0, 255), Pixel(8, 50, 50, 255)));
    EXPECT_TRUE(sticky("blue_lt", Pixel(0, 0, 7, 255), Pixel(0, 0, 8, 255)));
    const Pixel vivid(200, 20, 20, 255);
    EXPECT_TRUE(paintIf("sat_lt", light, vivid));
    EXPECT_TRUE(sticky("sat_gt", vivid, light));
    for (int level = 0; level < 256; level += 15)
        EXPECT_FALSE(sticky("none", grey(level), grey(255 - level)));
}

TEST(PaintIfPredicates, LevelAndSaturationThresholds)
{
    const Pixel any = grey(0);
    EXPECT_FALSE(paintIf("src_low", grey(90), any));
    EXPECT_FALSE(paintIf("src_not_low", grey(90), any));
    EXPECT_TRUE(paintIf("src_not_mid", grey(90), any));
    EXPECT_TRUE(paintIf("src_mid", grey(91), any));
    EXPECT_FALSE(paintIf("src_high", grey(165), any));
    EXPECT_FALSE(paintIf("src_not_high", grey(165), any));
    EXPECT_TRUE(paintIf("src_not_mid", Pixel(165, 0, 0, 255), any));
    EXPECT_TRUE(paintIf("dest_low", any, grey(89)));
    EXPECT_TRUE(paintIf("dest_high", any, grey(166)));
    EXPECT_TRUE(sticky("dest_not_low", any, grey(91)));

    const Pixel lowSat(200, 130, 130, 255);   // 0.35
    const Pixel midSat(200, 100, 100, 255);   // 0.5
    const Pixel highSat(200, 60, 60, 255);    // 0.7
    EXPECT_TRUE(paintIf("src_low_sat", lowSat, any));
    EXPECT_TRUE(paintIf("src_mid_sat", midSat, any));
    EXPECT_TRUE(paintIf("src_high_sat", highSat, any));
    EXPECT_FALSE(paintIf("src_not_mid_sat", midSat, any));
    EXPECT_TRUE(paintIf("dest_not_high_sat", any, midSat));
    EXPECT_FALSE(paintIf("dest_not_low_sat", any, lowSat));
}

TEST(PaintIfPredicates, DistancesAtTheirThresholds)
{
    // Two reds either side of hue 0 are close the short way round.
    const Pixel a(255, 8, 0, 255);
    const Pixel b(255, 0, 8, 255);
    EXPECT_GT(pixelHue(b), 0.99f);
    EXPECT_TRUE(paintIf("hue_near12", a, b));
    EXPECT_FALSE(paintIf("hue_far20", a, b));
    EXPECT_FALSE(paintIf("hue_far14", a, grey(255)));

    const Pixel base = grey(100);
    EXPECT_TRUE(paintIf("color_near_sds64", base, grey(104)));                 // 48
    EXPECT_FALSE(paintIf("color_near_sds64", base, Pixel(100, 109, 100, 255))); // 81
    EXPECT_TRUE(paintIf("color_near_pd3200", base, Pixel(0, 0, 100, 255)));    // one channel equal
    EXPECT_FALSE(paintIf("color_near_pd7", base, grey(102)));                  // 8
    EXPECT_TRUE(paintIf("color_near_pd12", base, grey(102)));
    EXPECT_FALSE(paintIf("color_near_sd4", base, Pixel(101, 101, 102, 255)));  // 4
    EXPECT_TRUE(paintIf("color_near_sd7", base, Pixel(101, 101, 102, 255)));

    // dV of 0.1: similar below 0.11, not different above 0.12.
    EXPECT_TRUE(paintIf("bright_near11", grey(100), grey(125)));
    EXPECT_FALSE(paintIf("bright_far12", grey(100), grey(125)));
    EXPECT_TRUE(paintIf("bright_far12", grey(100), grey(132)));
    EXPECT_TRUE(paintIf("sat_far17", Pixel(200, 100, 100, 255), Pixel(200, 150, 150, 255)));
    EXPECT_FALSE(paintIf("hue_bright_near1", a, Pixel(100, 0, 0, 255)));
}

TEST(PaintIfPredicates, BandsAndAlpha)
{
    for (int level = 0; level < 256; ++level) {
        const Pixel src = Pixel(uint8_t(level), 0, uint8_t(level / 2), 255);
        const Pixel dest = grey(level ^ 1);
        const bool odd = (level & 1) != 0;
        EXPECT_EQ(paintIf("src_band_low1", src, dest), odd);
        EXPECT_EQ(paintIf("src_band_high2", src, dest), odd);
        EXPECT_EQ(paintIf("dest_band_low2", src, dest), !odd);
    }
    const Pixel clear(10, 10, 10, 0);
    const Pixel opaque(10, 10, 10, 255);
    const Pixel part(10, 10, 10, 1);
    EXPECT_FALSE(paintIf("src_alpha", clear, opaque));
    EXPECT_TRUE(paintIf("src_full_alpha", opaque, clear));
    EXPECT_FALSE(paintIf("src_part_alpha", opaque, clear));
    EXPECT_TRUE(paintIf("dest_part_alpha", opaque, part));
    EXPECT_TRUE(paintIf("dest_alpha", clear, part));
}
