#include "foundation/Angles.h"
#include "image/ColorMatrix.h"
#include "image/FloatRect.h"
#include "image/ImageWarp.h"
#include "image/OwnedBitmap.h"
#include "image/TransformCanvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

ColorMatrix translation(float x, float y, float z)
{
    ColorMatrix m;
    m.setTranslation(x, y, z);
    return m;
}

void expectMatrixNear(const ColorMatrix& a, const ColorMatrix& b, float tolerance)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(a[i], b[i], tolerance) << "entry " << i;
}

Pixel distinctPixel(int x, int y)
{
    return Pixel(uint8_t(20 + 50 * x), uint8_t(30 + 40 * y), uint8_t(200 - 13 * x - 17 * y), 255);
}

void fillDistinct(Image& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, distinctPixel(x, y));
}

// Bilinear weights of 255 and opaque blending each stop a unit short.
void expectPixelNear(const Pixel& expected, const Pixel& actual, int tolerance, const char* what, int x, int y)
{
    EXPECT_LE(std::abs(int(expected.r) - int(actual.r)), tolerance) << what << " at " << x << "," << y;
    EXPECT_LE(std::abs(int(expected.g) - int(actual.g)), tolerance) << what << " at " << x << "," << y;
    EXPECT_LE(std::abs(int(expected.b) - int(actual.b)), tolerance) << what << " at " << x << "," << y;
}

} // namespace

TEST(ColorMatrix, CompositionMultipliesNewFactorsOnTheLeft)
{
    ColorMatrix sum;
    translation(1, 2, 3).multiply(sum, translation(10, 20, 30));
    expectMatrixNear(translation(11, 22, 33), sum, 0.0f);

    // out = left x this: with row vectors the left factor acts first, so
    // scaling then translating maps (1, 1) to (12, 13).
    ColorMatrix scale;
    scale.setScale(2, 3, 1);
    ColorMatrix m = translation(10, 10, 0);
    m.multiply(m, scale);
    const float p[3] = {1, 1, 0};
    float out[3];
    m.transformPoint(out, p);
    EXPECT_FLOAT_EQ(12.0f, out[0]);
    EXPECT_FLOAT_EQ(13.0f, out[1]);
    EXPECT_FLOAT_EQ(0.0f, out[2]);

    ColorMatrix r;
    r.setRotation(1.0f, 0.0f);
    const float unitX[3] = {1, 0, 0};
    r.transformPoint(out, unitX);
    EXPECT_FLOAT_EQ(0.0f, out[0]);
    EXPECT_FLOAT_EQ(1.0f, out[1]);
}

TEST(ColorMatrix, InverseOfRotationIsItsTransposeAndUndoesComposites)
{
    const float angle = 0.7f;
    ColorMatrix r;
    r.setRotation(std::sin(angle), std::cos(angle));
    ColorMatrix inverse;
    ASSERT_TRUE(r.inverse(inverse));
    ColorMatrix transpose;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            transpose[4 * i + j] = r[4 * j + i];
    expectMatrixNear(transpose, inverse, 1e-6f);

    ColorMatrix m = translation(5, -3, 2);
    ColorMatrix s;
    s.setScale(0.5f, 4.0f, 2.0f);
    m.multiply(m, r);
    m.multiply(m, s);
    ASSERT_TRUE(m.inverse(inverse));
    ColorMatrix product;
    m.multiply(product, inverse);
    expectMatrixNear(ColorMatrix(), product, 1e-5f);

    ColorMatrix singular;
    singular.setScale(1.0f, 0.0f, 1.0f);
    EXPECT_FALSE(singular.inverse(inverse));
    EXPECT_FALSE(std::isfinite(inverse[0]));
}

TEST(ColorMatrix, PixelFromFloatsAndFloatRects)
{
    Pixel p;
    pixelFromFloats(p, 1.0f, 0.5f, 0.0f, 1.0f);
    EXPECT_EQ(Pixel(255, 127, 0, 255), p);
    pixelFromFloats(p, -3.0f, 7.0f, NAN, 0.25f);
    EXPECT_EQ(Pixel(0, 255, 0, 63), p);

    const FloatRect a(0.5f, -0.5f, 3.7f, 4.0f);
    const Rect r = a.toRect();
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(4, r.right);
    EXPECT_EQ(5, r.bottom);
    const FloatRect both = a.intersect(FloatRect(1.0f, -2.0f, 10.0f, 2.5f));
    EXPECT_FLOAT_EQ(1.0f, both.topLeft.x);
    EXPECT_FLOAT_EQ(-0.5f, both.topLeft.y);
    EXPECT_FLOAT_EQ(3.7f, both.bottomRight.x);
    EXPECT_FLOAT_EQ(2.5f, both.bottomRight.y);
}

TEST(ImageWarp, IdentityTransformReproducesTheSource)
{
    OwnedBitmap source(6, 4, 6);
    fillDistinct(source);
    OwnedBitmap destination(6, 4, 6);
    destination.fill(Pixel(0, 0, 0, 255));
    transformImage(source, destination, Vec2(3.0f, 2.0f), 1.0f, 0.0f);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            expectPixelNear(source.getPixel(x, y), destination.getPixel(x, y), 2, "identity", x, y);
}

TEST(ImageWarp, RotationAndScaleMoveKnownPixels)
{
    OwnedBitmap source(4, 4, 6);
    fillDistinct(source);
    OwnedBitmap rotated(4, 4, 6);
    rotated.fill(Pixel(0, 0, 0, 255));
    // A quarter turn about (2, 1): destination (x, y) shows source (3 - y, x).
    transformImage(source, rotated, Vec2(2.0f, 1.0f), 1.0f, float(kHalfPi));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            expectPixelNear(source.getPixel(3 - y, x), rotated.getPixel(x, y), 2, "rotated", x, y);

    OwnedBitmap big(8, 8, 6);
    fillDistinct(big);
    OwnedBitmap magnified(8, 8, 6);
    magnified.fill(Pixel(0, 0, 0, 255));
    // Scale 2 about (4, 4): destination d shows source (d - 4) / 2 + 4.
    transformImage(big, magnified, Vec2(4.0f, 4.0f), 2.0f, 0.0f);
    expectPixelNear(big.getPixel(4, 4), magnified.getPixel(4, 4), 2, "centre", 4, 4);
    expectPixelNear(big.getPixel(2, 2), magnified.getPixel(0, 0), 2, "corner", 0, 0);
    expectPixelNear(big.getPixel(5, 3), magnified.getPixel(6, 2), 2, "off centre", 6, 2);

    // Zero scale gives non-finite source positions: the destination keeps its pixels.
    OwnedBitmap untouched(4, 4, 6);
    untouched.fill(Pixel(1, 2, 3, 255));
    transformImage(source, untouched, Vec2(2.0f, 2.0f), 0.0f, 0.0f);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(Pixel(1, 2, 3, 255), untouched.getPixel(x, y));
}

TEST(ImageWarp, WarpQuadSkipsRowsAboveTheImageButAdvancesTheEdges)
{
    OwnedBitmap source(4, 4, 6);
    fillDistinct(source);
    OwnedBitmap destination(4, 4, 6);
    const Pixel marker(9, 9, 9, 255);
    destination.fill(marker);
    warpQuad(destination, source, 0, -2, 4, 2, Vec2(0, 0), Vec2(4, 0), Vec2(0, 4), Vec2(4, 4));
    for (int x = 0; x < 4; ++x) {
        expectPixelNear(source.getPixel(x, 2), destination.getPixel(x, 0), 2, "row 0", x, 0);
        expectPixelNear(source.getPixel(x, 3), destination.getPixel(x, 1), 2, "row 1", x, 1);
        EXPECT_EQ(marker, destination.getPixel(x, 2));
        EXPECT_EQ(marker, destination.getPixel(x, 3));
    }
    // Empty rectangles draw nothing.
    warpQuad(destination, source, 2, 2, 2, 4, Vec2(0, 0), Vec2(4, 0), Vec2(0, 4), Vec2(4, 4));
    warpQuad(destination, source, 0, 3, 4, 3, Vec2(0, 0), Vec2(4, 0), Vec2(0, 4), Vec2(4, 4));
    EXPECT_EQ(marker, destination.getPixel(2, 3));
}

TEST(TransformCanvas, PlacesImagesByTheCanvasCentre)
{
    TransformCanvas canvas(6, 4, 6);
    EXPECT_FLOAT_EQ(6.0f, canvas.width());
    EXPECT_FLOAT_EQ(3.0f, canvas.centre().x);
    EXPECT_FLOAT_EQ(2.5f, canvas.radius());
    canvas.image.fill(Pixel(0, 0, 0, 255));

    OwnedBitmap stamp(2, 2, 6);
    stamp.fill(Pixel(255, 0, 0, 255));
    // Position (4, 3) minus the centre (3, 2) puts the stamp at (1, 1).
    canvas.blendImageCentred(stamp, Vec2(4.0f, 3.0f));
    EXPECT_EQ(254, canvas.image.getPixel(1, 1).r);
    EXPECT_EQ(254, canvas.image.getPixel(2, 2).r);
    EXPECT_EQ(0, canvas.image.getPixel(0, 0).r);
    EXPECT_EQ(0, canvas.image.getPixel(3, 1).r);

    OwnedBitmap target(10, 10, 6);
    target.fill(Pixel(0, 0, 255, 255));
    // The canvas's top-left corner lands at (5, 6) - (3, 2) = (2, 4).
    canvas.copyInto(target, Vec2(5.0f, 6.0f));
    EXPECT_EQ(254, target.getPixel(3, 5).r);
    EXPECT_EQ(Pixel(0, 0, 0, 255), target.getPixel(2, 4));
    EXPECT_EQ(Pixel(0, 0, 255, 255), target.getPixel(1, 4));
    EXPECT_EQ(Pixel(0, 0, 0, 255), target.getPixel(7, 7));
    EXPECT_EQ(Pixel(0, 0, 255, 255), target.getPixel(8, 7));

    // Drawing through a translation moves the source by it; a singular
    // matrix draws nothing.
    OwnedBitmap source(2, 2, 6);
    fillDistinct(source);
    canvas.image.fill(Pixel(0, 0, 0, 255));
    canvas.drawTransformedAt(source, ColorMatrix(), Vec2(3.0f, 1.0f));
    expectPixelNear(source.getPixel(0, 0), canvas.image.getPixel(3, 1), 2, "drawn", 3, 1);
    expectPixelNear(source.getPixel(1, 1), canvas.image.getPixel(4, 2), 2, "drawn", 4, 2);
    EXPECT_EQ(Pixel(0, 0, 0, 255), canvas.image.getPixel(1, 1));
    ColorMatrix flat;
    flat.clear();
    canvas.image.fill(Pixel(0, 0, 0, 255));
    canvas.drawTransformed(source, flat);
    EXPECT_EQ(Pixel(0, 0, 0, 255), canvas.image.getPixel(0, 0));
}
