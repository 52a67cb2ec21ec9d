#include <gtest/gtest.h>

#include "shell/transforms/AreaSample.h"
#include "shell/transforms/InPlaceEdit.h"
#include "shell/transforms/InPlaceFilterAdapter.h"
#include "shell/transforms/PixelFunction.h"
#include "shell/transforms/PixelTransforms.h"
#include "shell/ShellFilterSupport.h"

using namespace shelltest;

TEST(PixelTransforms, SmallImages)
{
    OwnedBitmap one(1, 1, 6);
    fillPattern(one, 1);
    const std::vector<uint8_t> before = bytesOf(one);
    flipVertical(one);
    mirrorHorizontal(one);
    rotate180(one);
    EXPECT_EQ(bytesOf(one), before);

    // 3 x 3: rotate 180 also reverses the middle row.
    OwnedBitmap grid(3, 3, 2);
    for (int i = 0; i < 9; ++i)
        grid.pixelAddress(i % 3, i / 3)[0] = uint8_t(i);
    rotate180(grid);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(grid.pixelAddress(i % 3, i / 3)[0], 8 - i);

    // A, B in one row: clockwise gives A above B, counter-clockwise B above A.
    OwnedBitmap row(2, 1, 4), column(1, 2, 4);
    std::memset(row.pixelAddress(0, 0), 'A', 3);
    std::memset(row.pixelAddress(1, 0), 'B', 3);
    ASSERT_TRUE(rotate90Clockwise(row, column));
    EXPECT_EQ(column.pixelAddress(0, 0)[0], 'A');
    EXPECT_EQ(column.pixelAddress(0, 1)[0], 'B');
    ASSERT_TRUE(rotate90CounterClockwise(row, column));
    EXPECT_EQ(column.pixelAddress(0, 0)[0], 'B');
    // A destination of the wrong shape is refused, not overrun.
    OwnedBitmap wrong(2, 1, 4);
    EXPECT_FALSE(rotate90Clockwise(row, wrong));
    OwnedBitmap deeper(1, 2, 6);
    EXPECT_FALSE(rotate90Clockwise(row, deeper));
}

TEST(PixelTransforms, InversesRestoreEveryByte)
{
    for (int format : {2, 4, 6, 9}) {
        OwnedBitmap image(7, 6, format), turned(6, 7, format), back(7, 6, format);
        fillPattern(image, unsigned(format));
        const std::vector<uint8_t> before = bytesOf(image);
        flipVertical(image);
        EXPECT_NE(bytesOf(image), before);
        flipVertical(image);
        mirrorHorizontal(image);
        mirrorHorizontal(image);
        rotate180(image);
        rotate180(image);
        EXPECT_EQ(bytesOf(image), before) << format;
        ASSERT_TRUE(rotate90Clockwise(image, turned));
        ASSERT_TRUE(rotate90CounterClockwise(turned, back));
        EXPECT_EQ(bytesOf(back), before) << format;
    }
}

namespace {

struct Brighter : PixelFunction
{
    Pixel pixelAt(const Image& source, int x, int y) const override
    {
        Pixel p = source.getPixel(x, y);
        p.r = uint8_t(p.r + 1);
        return p;
    }
};

struct Mirror : InPlaceEdit
{
    bool apply(Image& image, RenderCallbacks&) override { return mirrorHorizontal(image); }
};

} // namespace

TEST(PixelFunction, DriverReportsAfterOddRowsAndStops)
{
    Brighter f;
    OwnedBitmap one(3, 1, 4), four(3, 4, 4), out(3, 4, 4);
    fillUniform(one, 5);
    fillUniform(four, 5);
    RecordingCallbacks quiet;
    ASSERT_TRUE(runPixelFunctionInPlace(f, one, quiet));
    EXPECT_TRUE(quiet.reports.empty());
    EXPECT_EQ(one.pixelAddress(2, 0)[2], 6);
    RecordingCallbacks two;
    ASSERT_TRUE(runPixelFunction(f, four, out, two));
    EXPECT_EQ(two.reports, (std::vector<float>{0.5f, 1.0f}));
    RecordingCallbacks stop(1);
    fillUniform(out, 0);
    EXPECT_FALSE(runPixelFunction(f, four, out, stop));
    EXPECT_EQ(out.pixelAddress(0, 1)[2], 6);
    EXPECT_EQ(out.pixelAddress(0, 2)[2], 0);
    OwnedBitmap small(3, 3, 4);
    EXPECT_FALSE(runPixelFunction(f, four, small, two));
}

TEST(PixelFunction, AdapterEditsACopyOfTheSource)
{
    Mirror mirror;
    InPlaceFilterAdapter adapter(mirror, true);
    OwnedBitmap source(2, 1, 4), out;
    std::memset(source.pixelAddress(0, 0), 1, 3);
    std::memset(source.pixelAddress(1, 0), 2, 3);
    RecordingCallbacks callbacks;
    ASSERT_TRUE(adapter.prepareDestination(source, out));
    ASSERT_TRUE(adapter.apply(source, out, callbacks));
    EXPECT_EQ(out.pixelAddress(0, 0)[0], 2);
    EXPECT_EQ(source.pixelAddress(0, 0)[0], 1);
}

TEST(AreaSample, CoverageAndMeans)
{
    EXPECT_FLOAT_EQ(pixelCoverage(0, 0, -1.0f, 5.0f, -1.0f, 5.0f), 1.0f);
    EXPECT_FLOAT_EQ(pixelCoverage(1, 0, 2.0f, 5.0f, 0.0f, 1.0f), 0.0f);
    EXPECT_FLOAT_EQ(pixelCoverage(1, 1, 1.5f, 5.0f, 0.0f, 1.75f), 0.5f * 0.75f);

    OwnedBitmap row(3, 1, 4);
    std::memset(row.pixelAddress(0, 0), 10, 3);
    std::memset(row.pixelAddress(1, 0), 21, 3);
    std::memset(row.pixelAddress(2, 0), 200, 3);
    uint8_t out[4];
    areaSample(row, 1.0f, 0.5f, 1.0f, 0.5f, out, AreaDivide::Whole);
    EXPECT_EQ(out[0], 16); // (10 + 21) / 2 to the nearest even
    // One pixel: copied; outside: zero.
    areaSample(row, 2.5f, 0.5f, 0.2f, 0.2f, out, AreaDivide::Whole);
    EXPECT_EQ(out[1], 200);
    areaSample(row, 7.5f, 0.5f, 0.2f, 0.2f, out, AreaDivide::Covered);
    EXPECT_EQ(out[1], 0);
    // Half outside: the whole area halves the value, the covered part keeps it.
    areaSample(row, 3.0f, 0.5f, 1.0f, 0.5f, out, AreaDivide::Whole);
    EXPECT_EQ(out[0], 100);
    areaSample(row, 3.0f, 0.5f, 1.0f, 0.5f, out, AreaDivide::Covered);
    EXPECT_EQ(out[0], 200);
    // A rectangle far larger than the image costs no more than the image.
    areaSample(row, 0.0f, 0.0f, 1e9f, 1e9f, out, AreaDivide::Covered);
    EXPECT_EQ(out[2], 77);
}
