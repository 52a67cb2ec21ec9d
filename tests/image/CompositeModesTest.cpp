#include <gtest/gtest.h>

#include "image/CompositeModes.h"

namespace {

int comp(const char* id, int x, int y)
{
    EXPECT_TRUE(compositeModes.contains(id)) << id;
    return compositeModes.entryAt(compositeModes.indexOf(id)).function(
        static_cast<unsigned char>(x), static_cast<unsigned char>(y));
}

const int compositeCountAtStartup = compositeModes.count();

} // namespace

TEST(CompositeModeTable, ReadyForOtherStaticInitialisers)
{
    EXPECT_EQ(compositeCountAtStartup, 28);
}

TEST(CompositeModeTable, CountOrderAndIdentifiersMapBack)
{
    ASSERT_EQ(compositeModes.count(), 28);
    for (int i = 0; i < compositeModes.count(); ++i) {
        const auto& e = compositeModes.entryAt(i);
        EXPECT_EQ(compositeModes.indexOf(e.id), i) << e.id;
    }
    EXPECT_EQ(compositeModes.entryAt(0).id, "dest");
    EXPECT_TRUE(compositeModes.entryAt(0).function == defaultCompositeKernel());
    EXPECT_EQ(compositeModes.indexOf("add 1/8"), 7);
    EXPECT_FALSE(compositeModes.contains("add_1_8"));
    EXPECT_EQ(compositeModes.indexOf("add_1_mul"), 18);
    EXPECT_EQ(compositeModes.indexOf("max_scl"), 27);
    EXPECT_EQ(compositeModes.entryAt(27).displayName, "inv div blend");
    EXPECT_EQ(compositeModes.entryAt(25).displayName, "inv div blend");
}

TEST(CompositeKernels, DestinationMaxAndHalfRows)
{
    for (int x = 0; x < 256; x += 17)
        EXPECT_EQ(comp("dest", x, 123), 123);
    EXPECT_EQ(comp("over", 255, 255), 255);
    EXPECT_EQ(comp("over", 128, 128), 160);
    EXPECT_EQ(comp("over", 200, 0), 0);
    EXPECT_EQ(comp("max_half", 200, 90), 100);
    EXPECT_EQ(comp("max_half", 200, 0), 0);
    EXPECT_EQ(comp("max_half_blend", 200, 50), 60);
    EXPECT_EQ(comp("max_half_blend", 100, 50), 50);
    EXPECT_EQ(comp("max_over", 50, 100), 100);
    EXPECT_EQ(comp("max_over", 200, 100), 79);
    for (int x = 0; x < 256; ++x)
        for (int y = 0; y < 256; ++y)
            ASSERT_EQ(comp("max_scl", x, y), comp("max_blend", x, y)) << x << "," << y;
}

TEST(CompositeKernels, AddRows)
{
    EXPECT_EQ(comp("add_1_32", 255, 0), 0);
    EXPECT_EQ(comp("add_1_32", 255, 250), 255);
    EXPECT_EQ(comp("add_1_32", 255, 100), 107);
    EXPECT_EQ(comp("add_1_16", 255, 100), 115);
    EXPECT_EQ(comp("add 1/8", 255, 100), 131);
    EXPECT_EQ(comp("add_1_8_sqr_scl", 255, 128), 143);
    EXPECT_EQ(comp("add_1_sqr_scl", 0, 128), 128);
    EXPECT_EQ(comp("add_2_sqr_scl", 255, 128), 255);
    EXPECT_EQ(comp("add_1_32_mul", 255, 200), 206);
    EXPECT_EQ(comp("add_1_mul", 255, 200), 255);
    EXPECT_EQ(comp("add_1_scl", 100, 100), 139);
    EXPECT_EQ(comp("add_1_32_scl", 255, 0), 0);
}

TEST(CompositeKernels, InverseDivisionGuardsZeroSource)
{
    EXPECT_EQ(comp("inv_div_scl", 0, 10), 20);
    EXPECT_EQ(comp("inv_div_scl", 200, 100), 111);
    EXPECT_EQ(comp("inv_div_scl", 0, 0), 0);
}

TEST(CompositeKernels, LerpArgbBySourceAlpha)
{
    const Pixel dst = Pixel::fromWord(0x0A00FF00u);
    EXPECT_EQ(lerpArgbBySourceAlpha(Pixel::fromWord(0x00FFFFFFu), dst).word(), 0x0A00FF00u);
    EXPECT_EQ(lerpArgbBySourceAlpha(Pixel::fromWord(0xFFFF0000u), dst).word(), 0xFFFE0100u);
    EXPECT_EQ(lerpArgbBySourceAlpha(Pixel::fromWord(0x80C86432u), Pixel::fromWord(0xFF000000u)).word(),
              0xFF643219u);
    // The larger alpha wins even when it is the destination's.
    EXPECT_EQ(lerpArgbBySourceAlpha(Pixel::fromWord(0x01FFFFFFu), Pixel::fromWord(0xC8000000u)).a, 0xC8);
}
