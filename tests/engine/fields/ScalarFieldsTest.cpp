#include "engine/fields/ScalarFields.h"

#include "engine/fields/FieldTestImage.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace {

ScalarFieldFunction field(const char* id)
{
    EXPECT_TRUE(scalarFields.contains(id)) << id;
    return scalarFields.entryAt(scalarFields.indexOf(id)).function;
}

const Pixel kFlat(100, 150, 200, 255);

// A direction by ring index for a test measure: index i of the ring points
// at (sin 2 pi i/16, cos 2 pi i/16) from the centre (10, 10).
int ringIndexAt(float x, float y)
{
    const double turns = std::atan2(x - 10.0, y - 10.0) / (2 * 3.141592653589793);
    return (static_cast<int>(std::lround(turns * 16)) + 16) % 16;
}

// Lowest at index 12, highest at index 2, flat elsewhere.
float lowAt12HighAt2(const Image&, float x, float y)
{
    const int i = ringIndexAt(x, y);
    return i == 12 ? -1.0f : (i == 2 ? 1.0f : 0.0f);
}

float notANumber(const Image&, float, float)
{
    return std::nanf("");
}

} // namespace

TEST(ScalarFieldCatalog, RowsKeepTheirIdsOrderAndNames)
{
    ASSERT_EQ(scalarFields.count(), 103);
    for (int i = 0; i < scalarFields.count(); ++i)
        EXPECT_EQ(scalarFields.indexOf(scalarFields.entryAt(i).id), i) << i;
    EXPECT_EQ(scalarFields.entryAt(0).id, "one");
    EXPECT_EQ(scalarFields.entryAt(102).id, "cycmax_800");
    EXPECT_EQ(scalarFields.indexOf("uphill16_red"), 62);
    EXPECT_EQ(scalarFields.indexOf("center_ray+blue"), 88);
    EXPECT_EQ(scalarFields.indexOf("no such field"), 0);
    EXPECT_EQ(scalarFields.entryAt(17).id, "uphill_red");
    EXPECT_EQ(scalarFields.entryAt(17).displayName, "uphill red");
    EXPECT_EQ(scalarFields.entryAt(2).displayName, "saturation");
    EXPECT_EQ(scalarFields.entryAt(21).displayName, "alpha uphill");
    EXPECT_EQ(scalarFields.entryAt(52).displayName, "bright-inv sat");
    EXPECT_EQ(scalarFields.entryAt(77).displayName, "countour16br+green");
    EXPECT_EQ(scalarFields.entryAt(79).displayName, "contour16g+red/2");
    EXPECT_EQ(scalarFields.entryAt(82).displayName, "x+y");
    EXPECT_EQ(scalarFields.entryAt(90).displayName, "center ray+distance");

    // The count itself is past the end.
    EXPECT_EQ(scalarFields.entryAt(103).id, "invalid_id");
    FieldTestImage img(4, 4);
    img.fill(kFlat);
    EXPECT_EQ(scalarFields.entryAt(103).function(img, 1, 1), 0.0f);
    EXPECT_EQ(defaultScalarField(), scalarFields.entryAt(0).function);
    EXPECT_EQ(defaultScalarField()(img, 1, 1), 1.0f);
}

TEST(ScalarFields, BasicMeasures)
{
    FieldTestImage img(8, 8);
    img.fill(Pixel(255, 128, 0, 255));
    EXPECT_EQ(field("red")(img, 2, 2), 255 * kChannelScale);
    EXPECT_NEAR(field("red")(img, 2, 2), 0.996133f, 1e-6f);
    EXPECT_EQ(field("blue")(img, 2, 2), 0.0f);
    EXPECT_EQ(field("one")(img, 2.5f, 7.0f), 1.0f);
    EXPECT_EQ(field("mid_red")(img, 2, 2), 2.0f * std::fabs(0.5f - 255 * kChannelScale));
    const Pixel p(255, 128, 0, 255);
    // Rows whose names promise something else keep what they always computed.
    EXPECT_FLOAT_EQ(field("sat_sub_alpha")(img, 2, 2), pixelHue(p) - 255 * kChannelScale);
    EXPECT_FLOAT_EQ(field("bright_mul_hue")(img, 2, 2), pixelValue(p) - pixelHue(p));
    EXPECT_FLOAT_EQ(field("sat_mul_hue")(img, 2, 2), pixelSaturation(p) - pixelHue(p));
    EXPECT_FLOAT_EQ(field("bright_sub_inv_sat")(img, 2, 2), pixelValue(p) - pixelSaturation(p));
    EXPECT_FLOAT_EQ(field("red_add_blue")(img, 2, 2), 255 * kChannelScale);
    EXPECT_FLOAT_EQ(field("green_sub_red")(img, 2, 2), 128 * kChannelScale - 255 * kChannelScale);

    // Beyond the sampler's bounds a pixel sample is zero, a channel sample
    // the nearest edge.
    EXPECT_EQ(field("bright")(img, -3.0f, 2.0f), 0.0f);
    EXPECT_EQ(field("red")(img, -3.0f, 2.0f), 255 * kChannelScale);

    EXPECT_EQ(vectorRedGreen(img, Vec2(2, 2)).x, 2.0f * (255 * kChannelScale - 0.5f));
    FieldTestImage black(4, 4);
    black.fill(Pixel(0, 0, 0, 255));
    const Vec2 v = vectorRedGreen(black, Vec2(1, 1));
    EXPECT_EQ(v.x, -1.0f);
    EXPECT_EQ(v.y, -1.0f);
}

TEST(ScalarFields, FlatAreaFollowsTheStartIndex)
{
    FieldTestImage img(16, 16);
    img.fill(kFlat);
    EXPECT_EQ(field("uphill_red")(img, 3, 3), 0.25f);     // 9 & 7 = 1
    EXPECT_EQ(field("uphill_red")(img, 0.5f, 0.5f), 0.125f);
    EXPECT_EQ(field("downhill_bright")(img, 3, 3), 0.25f);
    EXPECT_EQ(field("uphill16_red")(img, 3, 3), 9.0f / 16);
    EXPECT_EQ(field("contour16_red")(img, 3, 3), 9.0f / 16);
    EXPECT_EQ(field("uphill_red")(img, 2, -3), kTurns8[(-6) & 7]);

    // Without alpha every alpha sample reads 255: flat as well.
    FieldTestImage rgb(16, 16, 4);
    rgb.fill(kFlat);
    EXPECT_EQ(field("uphill_alpha")(rgb, 3, 3), 0.25f);

    // Far-away positions saturate the start product instead of overflowing.
    EXPECT_EQ(field("uphill_red")(img, 1e10f, 1e10f), kTurns8[7]);
    EXPECT_EQ(field("uphill_red")(img, -1e10f, 1e10f), kTurns8[0]);
    EXPECT_EQ(field("uphill16_red")(img, 1e10f, 1e10f), kTurns16[15]);
}

TEST(ScalarFields, RingSearchesFindTheExtremes)
{
    // Red rises along x and a little along y.
    FieldTestImage img(16, 16);
    img.fillWith([](int x, int y) { return Pixel(uint8_t(10 * x + 2 * y), 0, 0, 255); });
    EXPECT_EQ(field("uphill_red")(img, 8, 8), 0.125f);    // (1.5, 1.5)
    EXPECT_EQ(field("downhill_red")(img, 8, 8), 0.625f);  // (-1.5, -1.5)
    EXPECT_EQ(field("uphill2_red")(img, 8, 8), 0.25f);    // (2, 0) beats (1.5, 1.5)
    EXPECT_EQ(field("downhill2_red")(img, 8, 8), 0.75f);
    FieldTestImage ramp(16, 16);
    ramp.fillWith([](int x, int) { return Pixel(uint8_t(10 * x), 0, 0, 255); });
    EXPECT_EQ(field("uphill16_red")(ramp, 8, 8), 4.0f / 16);
    EXPECT_EQ(field("downhill16_red")(ramp, 8, 8), 12.0f / 16);
    EXPECT_EQ(field("uphillgreen+x-y")(img, 8, 8), field("uphill16_green")(img, 8, 8));
    for (float x = 3; x < 13; x += 0.75f)
        EXPECT_EQ(field("uphillgreen+x-y")(img, x, 5), field("uphill16_green")(img, x, 5));

    const Image& any = img;
    EXPECT_EQ(ringSearch16(any, 10, 10, lowAt12HighAt2, true), 2.0f / 16);
    EXPECT_EQ(ringSearch16(any, 10, 10, lowAt12HighAt2, false), 12.0f / 16);
    // Halfway from the lowest to the highest going round by increasing index.
    EXPECT_EQ(contourSearch16(any, 10, 10, lowAt12HighAt2, kRing16.dx, kRing16.dy), 15.0f / 16);

    // A measure that never compares keeps the start index.
    EXPECT_EQ(ringSearch8(any, 3, 3, notANumber, kRing1.dx, kRing1.dy, true), kTurns8[1]);
    EXPECT_EQ(ringSearch16(any, 3, 3, notANumber, false), kTurns16[9]);
    EXPECT_EQ(contourSearch16(any, 3, 3, notANumber, kRing16.dx, kRing16.dy), kTurns16[9]);
}

TEST(ScalarFields, PositionCentreAndCyclicRows)
{
    FieldTestImage img(20, 10);
    img.fill(kFlat);
    EXPECT_FLOAT_EQ(field("x")(img, 5, 0), 0.25f);
    EXPECT_FLOAT_EQ(field("x*y")(img, 10, 5), 0.25f);
    EXPECT_EQ(field("center_ray")(img, 4, 5), 0.25f);
    EXPECT_EQ(field("center_ray")(img, 16, 5), -0.25f);
    EXPECT_EQ(field("center_ray")(img, 10, 1), 0.0f);
    EXPECT_EQ(field("center_ray")(img, 10, 9), 0.5f);
    EXPECT_EQ(field("center_ray")(img, 10, 5), 0.0f);
    EXPECT_NEAR(field("center_dist")(img, 0, 0), 0.70710678f, 1e-6f);
    EXPECT_EQ(field("center_dist")(img, 10, 5), 0.0f);
    EXPECT_FLOAT_EQ(field("cycadd_100")(img, 0, 0), 1.0f);
    EXPECT_FLOAT_EQ(field("cycmax_100")(img, 25, 0), 1.0f);
    EXPECT_NEAR(field("cycmul_400")(img, 100, 0), 1.0f, 1e-6f);
    EXPECT_NEAR(field("cycmax_200")(img, 150, 100), -1.0f, 1e-6f);

    // Products of far-away positions saturate.
    EXPECT_EQ(field("x*y")(img, 3e38f, 3e38f), FLT_MAX);
    FieldTestImage one(1, 1);
    EXPECT_EQ(field("x+y")(one, -FLT_MAX, -FLT_MAX), -FLT_MAX);
    EXPECT_EQ(field("center_dist")(one, FLT_MAX, 0), FLT_MAX);
}

TEST(ScalarFields, EveryRowIsFinite)
{
    FieldTestImage img(9, 7);
    img.fillWith([](int x, int y) {
        return Pixel(uint8_t(x * 37 + y * 11), uint8_t(x * y * 13), uint8_t(255 - 29 * y), 255);
    });
    std::vector<float> positions;
    for (int i = 0; i <= 8; ++i)
        positions.push_back(i / 8.0f);
    for (float p : {-3.0f, 4.5f, 8.0f, 11.0f, 1e6f, -1e6f, 1e9f, -1e9f, 3e38f, -FLT_MAX})
        positions.push_back(p);
    for (int row = 0; row < scalarFields.count(); ++row) {
        const ScalarFieldFunction f = scalarFields.entryAt(row).function;
        for (float x : positions)
            for (float y : positions) {
                const float v = f(img, x, y);
                ASSERT_TRUE(std::isfinite(v))
                    << scalarFields.entryAt(row).id << " at " << x << ", " << y;
            }
    }
}

TEST(ScalarFields, ImageWithoutPixelsGivesZero)
{
    Image empty;
    for (int row = 0; row < scalarFields.count(); ++row)
        for (float p : {0.0f, 0.5f, -1.0f, 3.0f})
            EXPECT_EQ(scalarFields.entryAt(row).function(empty, p, p), 0.0f)
                << scalarFields.entryAt(row).id;
    const Vec2 v = vectorBrightSat(empty, Vec2(0, 0));
    EXPECT_EQ(v.x, 0.0f);
    EXPECT_EQ(v.y, 0.0f);
}
