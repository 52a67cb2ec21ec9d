#include "engine/fields/DirectionFields.h"

#include "engine/fields/FieldTestImage.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace {

// Fields rising by 1/64 per pixel: every sample and moment is exact.
float risingAlongX(const Image&, float x, float)
{
    return x / 64;
}

float risingAlongY(const Image&, float, float y)
{
    return y / 64;
}

float constantField(const Image&, float, float)
{
    return 0.75f;
}

void expectVec(const Vec2& v, float x, float y)
{
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
}

} // namespace

TEST(DirectionFieldCatalog, RowsKeepTheirIdsAndOrder)
{
    ASSERT_EQ(directionFields.count(), 39);
    for (int i = 0; i < directionFields.count(); ++i)
        EXPECT_EQ(directionFields.indexOf(directionFields.entryAt(i).id), i) << i;
    EXPECT_EQ(directionFields.entryAt(0).id, "gradient4_red");
    EXPECT_EQ(directionFields.entryAt(38).id, "bright_x_sat_y");
    EXPECT_EQ(directionFields.entryAt(34).displayName, "red x/green y");
    EXPECT_EQ(directionFields.entryAt(29).displayName, "gradient3w bright");
    EXPECT_EQ(directionFields.indexOf("gradient3_red"), 8);
    EXPECT_EQ(directionFields.entryAt(8).function, defaultDirectionField());
    EXPECT_EQ(directionFields.entryAt(39).id, "invalid_id");
}

TEST(DirectionFields, GradientMagnitudesOverLinearFields)
{
    Image empty;
    const Vec2 at(100, 50);
    // The window families differ in scale: these are their moments.
    expectVec(windowGradient(8, 2, risingAlongX, empty, at), 2160.0f / 64, 0);
    expectVec(windowGradient(6, 2, risingAlongX, empty, at), 784.0f / 64, 0);
    expectVec(windowGradient(9, 3, risingAlongX, empty, at), 1764.0f / 64, 0);
    expectVec(windowGradient(7.5f, 2.5f, risingAlongX, empty, at), 1225.0f / 64, 0);
    expectVec(weightedWindowGradient(9, 3, risingAlongX, empty, at), 1512.0f / 64, 0);
    expectVec(crossWeightedWindowGradient(9, 3, risingAlongX, empty, at), 1008.0f / 64, 0);
    expectVec(windowGradient(8, 2, risingAlongY, empty, at), 0, 2160.0f / 64);
    expectVec(crossWeightedWindowGradient(9, 3, risingAlongY, empty, at), 0, 1008.0f / 64);
    expectVec(windowGradient(8, 2, constantField, empty, at), 0, 0);
    expectVec(weightedWindowGradient(9, 3, constantField, empty, at), 0, 0);
}

TEST(DirectionFields, DegenerateWindowsEndAtOnce)
{
    Image empty;
    const Vec2 at(1, 1);
    expectVec(windowGradient(-1, 2, risingAlongX, empty, at), 0, 0);
    expectVec(windowGradient(8, 0, risingAlongX, empty, at), 0, 0);
    expectVec(windowGradient(std::nanf(""), 2, risingAlongX, empty, at), 0, 0);
    expectVec(weightedWindowGradient(9, -3, risingAlongX, empty, at), 0, 0);
    expectVec(crossWeightedWindowGradient(9, 0, risingAlongX, empty, at), 0, 0);
    // Offsets that truncation would keep in place, or that no longer move
    // when a tiny step is added, still finish.
    const Vec2 v = crossWeightedWindowGradient(9, 0.5f, risingAlongX, empty, at);
    EXPECT_TRUE(std::isfinite(v.x));
    windowGradient(1e30f, 1.0f, constantField, empty, at);
}

TEST(DirectionFields, CatalogueRowsOverTheImage)
{
    FieldTestImage flat(32, 32);
    flat.fill(Pixel(90, 160, 30, 255));
    for (int row = 0; row < 34; ++row) {
        const Vec2 v = directionFields.entryAt(row).function(flat, Vec2(16, 16));
        // Zero up to the rounding of the single-precision running sums.
        EXPECT_NEAR(v.x, 0.0f, 1e-5f) << directionFields.entryAt(row).id;
        EXPECT_NEAR(v.y, 0.0f, 1e-5f) << directionFields.entryAt(row).id;
    }

    // Red rising by 4 per pixel along x: points along +x, never normalised.
    FieldTestImage ramp(48, 48);
    ramp.fillWith([](int x, int) { return Pixel(uint8_t(4 * x), 0, 0, 255); });
    const float a = 4 * kChannelScale;
    const Vec2 g4 = directionFields.entryAt(0).function(ramp, Vec2(24, 24));
    EXPECT_NEAR(g4.x, 2160 * a, 1e-3f);
    EXPECT_NEAR(g4.y, 0.0f, 1e-4f);
    const Vec2 g3 = defaultDirectionField()(ramp, Vec2(24, 24));
    EXPECT_NEAR(g3.x, 784 * a, 1e-3f);
    EXPECT_NEAR(g3.y, 0.0f, 1e-4f);
    const Vec2 g3m = directionFields.entryAt(directionFields.indexOf("gradient3m_red"))
                         .function(ramp, Vec2(24, 24));
    EXPECT_NEAR(g3m.x, 1008 * a, 1e-3f);

    // Channel-pair rows: one sample, each axis 2 (m - 0.5).
    const Vec2 rg = directionFields.entryAt(34).function(flat, Vec2(3, 3));
    EXPECT_FLOAT_EQ(rg.x, 2 * (90 * kChannelScale - 0.5f));
    EXPECT_FLOAT_EQ(rg.y, 2 * (160 * kChannelScale - 0.5f));
    const Vec2 hs = directionFields.entryAt(37).function(flat, Vec2(3, 3));
    EXPECT_FLOAT_EQ(hs.x, 2 * (pixelHue(Pixel(90, 160, 30, 255)) - 0.5f));
}

TEST(DirectionFields, EveryRowIsFiniteAndEmptyImagesGiveZero)
{
    FieldTestImage img(9, 7);
    img.fillWith([](int x, int y) { return Pixel(uint8_t(x * 31), uint8_t(y * 17), uint8_t(x * y), 255); });
    Image empty;
    for (int row = 0; row < directionFields.count(); ++row) {
        const DirectionFieldFunction f = directionFields.entryAt(row).function;
        for (float p : {0.0f, 0.5f, 1.0f, 6.0f, -20.0f, 1e6f, -1e9f, 3e38f}) {
            const Vec2 v = f(img, Vec2(p, 0.5f * p));
            ASSERT_TRUE(std::isfinite(v.x) && std::isfinite(v.y))
                << directionFields.entryAt(row).id << " at " << p;
            const Vec2 z = f(empty, Vec2(p, p));
            EXPECT_EQ(z.x, 0.0f);
            EXPECT_EQ(z.y, 0.0f);
        }
    }
}
