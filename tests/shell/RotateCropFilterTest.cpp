#include <gtest/gtest.h>

#include <cmath>

#include "foundation/PropertyBag.h"
#include "shell/transforms/PixelTransforms.h"
#include "shell/transforms/RotateCropFilter.h"
#include "shell/transforms/TransformedRender.h"
#include "shell/ShellFilterSupport.h"

using namespace shelltest;

namespace {

bool crop(const Image& source, OwnedBitmap& out, const char* w, const char* h, const char* degrees,
          RenderCallbacks& callbacks)
{
    PropertyBag p;
    p.setString("width", w);
    p.setString("height", h);
    p.setString("rotate", degrees);
    RotateCropFilter filter(p);
    return filter.prepareDestination(source, out) && filter.apply(source, out, callbacks);
}

} // namespace

TEST(RotateCropFilter, CentreHalfAndQuarterTurn)
{
    OwnedBitmap source(100, 60, 6), out;
    fillPattern(source, 21);
    RecordingCallbacks callbacks;
    ASSERT_TRUE(crop(source, out, "0.5", "0.5", "0", callbacks));
    ASSERT_EQ(out.width(), 50);
    ASSERT_EQ(out.height(), 30);
    for (int y = 0; y < 30; ++y)
        ASSERT_EQ(0, std::memcmp(out.row(y), source.pixelAddress(25, y + 15), 50 * 4)) << y;

    // 90 degrees with whole fractions: the turned picture, every byte (the
    // float cosine leaves slivers of neighbours that rounding removes).
    OwnedBitmap turned(60, 100, 6);
    ASSERT_TRUE(rotate90CounterClockwise(source, turned));
    ASSERT_TRUE(crop(source, out, "1", "1", "90", callbacks));
    EXPECT_TRUE(sameBytes(out, turned));
    OwnedBitmap half(100, 60, 6);
    half.copyFrom(source);
    rotate180(half);
    ASSERT_TRUE(crop(source, out, "1", "1", "180", callbacks));
    EXPECT_TRUE(sameBytes(out, half));
}

TEST(RotateCropFilter, FortyFiveDegreesKeepsEmptyCorners)
{
    OwnedBitmap source(200, 100, 6), out;
    fillUniform(source, 200);
    RecordingCallbacks callbacks;
    ASSERT_TRUE(crop(source, out, "1", "1", "45", callbacks));
    EXPECT_EQ(out.width(), 150);
    EXPECT_EQ(out.height(), 150);
    EXPECT_EQ(out.getPixel(0, 0).word(), 0u);
    EXPECT_EQ(out.getPixel(149, 149).word(), 0u);
    EXPECT_EQ(out.getPixel(75, 75).word(), 0xC8C8C8C8u);
    // Across the slanted border the values fall off smoothly to empty.
    int partial = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 150; ++x) {
            const uint8_t a = out.pixelAddress(x, y)[3];
            partial += a > 0 && a < 200;
        }
    EXPECT_GE(partial, 150);
}

TEST(RotateCropFilter, RefusalsAndCancellation)
{
    OwnedBitmap source(50, 40, 4), out;
    fillPattern(source, 5);
    RecordingCallbacks callbacks;
    EXPECT_FALSE(crop(source, out, "0.001", "1", "0", callbacks));
    EXPECT_FALSE(crop(source, out, "-1", "1", "30", callbacks));
    EXPECT_FALSE(crop(source, out, "1e30", "1e30", "30", callbacks));
    RecordingCallbacks stop(1);
    EXPECT_FALSE(crop(source, out, "1", "1", "10", stop));
    EXPECT_EQ(stop.reports.size(), 1u);
}

TEST(RotateCropFilter, TurnedGridsMatchPlainSamplingByteForByte)
{
    struct Case { float degrees, half; AreaDivide divide; int format; };
    const Case cases[] = {{10.0f, 0.5f, AreaDivide::Whole, 4}, {-33.0f, 0.5f, AreaDivide::Whole, 6},
                          {120.0f, 1.7f, AreaDivide::Covered, 6}, {90.0f, 0.5f, AreaDivide::Whole, 4},
                          {7.0f, 0.2f, AreaDivide::Covered, 4}};
    OwnedBitmap source(41, 29, 4), source6(41, 29, 6);
    fillPattern(source, 13);
    fillPattern(source6, 14);
    for (const Case& c : cases) {
        const Image& s = c.format == 4 ? source : source6;
        OwnedBitmap fast(37, 33, c.format), plain(37, 33, c.format);
        const float a = c.degrees * 3.14159265f / 180.0f;
        const Vec2 column(std::cos(a), std::sin(a)), row(-std::sin(a), std::cos(a));
        const Vec2 origin(-3.25f, 6.5f);
        RecordingCallbacks callbacks;
        ASSERT_TRUE(renderTransformed(s, fast, origin, column, row, c.half, c.half, c.divide, callbacks));
        ASSERT_TRUE(renderTransformedPlain(s, plain, origin, column, row, c.half, c.half, c.divide, callbacks));
        EXPECT_TRUE(sameBytes(fast, plain)) << c.degrees;
    }
}
