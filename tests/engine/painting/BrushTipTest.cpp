#include <climits>
#include <cmath>

#include <gtest/gtest.h>

#include "engine/ResponseCurves.h"
#include "engine/tips/BrushTipShape.h"
#include "engine/tips/ColorPointTip.h"
#include "engine/tips/ImageCopyTip.h"
#include "engine/tips/PolygonTipShape.h"
#include "engine/tips/ValueNoise.h"
#include "foundation/PropertyBag.h"
#include "foundation/Rect.h"
#include "PaintTestSupport.h"

using namespace painttest;

namespace {

double identity(const float& x)
{
    return x;
}

std::vector<int> maskBytes(const TipMask& mask)
{
    return std::vector<int>(mask.bytes(), mask.bytes() + mask.width() * mask.height());
}

uint8_t copySource(uint8_t s, uint8_t, uint8_t, uint8_t)
{
    return s;
}

uint8_t keepAlpha(uint8_t, uint8_t y)
{
    return y;
}

// A tip with a hand-made mask that copies source channels unchanged.
struct CopyTip : ImageCopyTip {
    CopyTip(int w, int h, std::vector<int> bytes)
    {
        mask.resize(w, h);
        for (size_t i = 0; i < bytes.size(); ++i)
            mask.bytes()[i] = static_cast<uint8_t>(bytes[i]);
        blendKernel = copySource;
        compositeKernel = keepAlpha;
    }
};

// One row whose red channel reads 0, 10, 20, ...
void fillRamp(GuardedImage& image)
{
    for (int y = 0; y < image.image.height(); ++y)
        for (int x = 0; x < image.image.width(); ++x)
            image.set(x, y, rgb(x * 10, y * 10, 0));
}

std::vector<int> redRow(const GuardedImage& image, int y)
{
    std::vector<int> row;
    for (int x = 0; x < image.image.width(); ++x)
        row.push_back(image.at(x, y).r);
    return row;
}

std::vector<int> redSlice(const GuardedImage& image, int from, int to)
{
    const std::vector<int> row = redRow(image, 0);
    return std::vector<int>(row.begin() + from, row.begin() + to);
}

} // namespace

TEST(ValueNoise, HashAndSmoothLattice)
{
    EXPECT_NEAR(-0.28179, ValueNoise::hash(0), 1e-5);
    EXPECT_DOUBLE_EQ(ValueNoise::hash(3 + 57 * 5), ValueNoise::hash2(3, 5));
    // Weights reach 1 at the cell centre: the lattice point (k + 1, j + 1).
    EXPECT_FLOAT_EQ(float(ValueNoise::hash2(4, 8)), ValueNoise::smooth(3.5f, 7.5f));
    // The cosine weight runs 0.5..1.5, not 0..1.
    EXPECT_DOUBLE_EQ(2.5, ValueNoise::cosineInterpolate(0.0, 2.0, 3.0));
    for (float x = -3.0f; x < 3.0f; x += 0.37f) {
        const float v = ValueNoise::smooth8Signed(x, -x);
        EXPECT_TRUE(std::isfinite(v));
        EXPECT_LE(std::fabs(v), 4.0f);
    }
    EXPECT_TRUE(std::isfinite(ValueNoise::smooth(3.0e9f, -3.0e9f)));
}

TEST(TipShapes, RadialMasks)
{
    TipMask mask;
    const BrushTipShape cone(1.0f, 0.0f, 0.0f, true, identity, coneHeight,
                             ValueNoise::smooth8Signed);
    cone.generate(mask, 2.0f);
    ASSERT_EQ(4, mask.width());
    // Inner cells 1 - 0.3536, edges 1 - 0.7906, corners outside the disc.
    const std::vector<int> expected = {0,  54,  54,  0,  54, 165, 165, 54,
                                       54, 165, 165, 54, 0,  54,  54,  0};
    EXPECT_EQ(expected, maskBytes(mask));

    EXPECT_FLOAT_EQ(std::sqrt(255.0f / 256.0f), cone.generate(mask, 0.5f)); // one cell: the centre
    EXPECT_EQ(std::vector<int>{255}, maskBytes(mask));

    // A radius without a whole pixel leaves the mask; a wild one is capped.
    EXPECT_FLOAT_EQ(1.0f, cone.generate(mask, 0.0f));
    EXPECT_FLOAT_EQ(1.0f, cone.generate(mask, std::nanf("")));
    EXPECT_EQ(1, mask.width());
    EXPECT_EQ(2048, TipMask::sizeForRadius(1.0e9f));

    // Shape 1 takes the square root of the cone: softer inner cells.
    const BrushTipShape rooted(1.0f, 1.0f, 0.0f, true, identity, coneHeight,
                               ValueNoise::smooth8Signed);
    rooted.generate(mask, 2.0f);
    EXPECT_EQ(206, mask.pixelAt(1, 1)); // sqrt(0.6464) * 256
}

TEST(TipShapes, PolygonMasks)
{
    TipMask mask;
    PolygonTipShape one(1.0f, 0.0f, 0.0f, true, identity, 0.5f, 0.0f, 1, coneHeight,
                        ValueNoise::smooth8Signed);
    one.generate(mask);
    EXPECT_EQ(std::vector<int>{255}, maskBytes(mask)); // 255.5 rounds to 256

    // Four sides, shape 1: zero on the diagonals, four lobes on the axes.
    PolygonTipShape square(1.0f, 1.0f, 0.0f, true, identity, 4.0f, 0.0f, 4, coneHeight,
                           ValueNoise::smooth8Signed);
    square.generate(mask);
    ASSERT_EQ(8, mask.width());
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(0, mask.pixelAt(i, i));
        EXPECT_EQ(0, mask.pixelAt(i, 7 - i));
    }
    EXPECT_GT(mask.pixelAt(2, 3), 50);
    EXPECT_GT(mask.pixelAt(3, 2), 50);
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            EXPECT_NEAR(mask.pixelAt(c, r), mask.pixelAt(r, c), 1);
}

TEST(TipShapes, ReaderDefaultsAndUnknownCurve)
{
    PropertyBag bag;
    bag.setString("transfunc", "no such curve");
    const BrushTipShape fromText(bag);
    EXPECT_FLOAT_EQ(1.0f, fromText.shape());
    EXPECT_TRUE(fromText.clip());
    EXPECT_EQ(defaultCurve(), fromText.curve());
    bag.setString("transfunc", "sqr");
    bag.setString("height", "-2");
    const BrushTipShape squared(bag);
    EXPECT_EQ(responseCurves.entryAt(1).function, squared.curve());
    EXPECT_FLOAT_EQ(-2.0f, squared.height());
}

TEST(BrushTip, BuildAndBrightness)
{
    ColorPointTip tip;
    EXPECT_DOUBLE_EQ(1.0, tip.mass);
    tip.build(true, 2.0f, 1.0f, 0.0f, 0.0f, true, 1, 0.0f, identity, coneHeight,
              ValueNoise::smooth8Signed);
    EXPECT_DOUBLE_EQ((4 * 165 + 8 * 54) / 255.0, tip.mass);
    EXPECT_FLOAT_EQ(std::sqrt((4 * 165 + 8 * 54) / 256.0f), tip.spacing());
    tip.setBrightness(1.1f);
    EXPECT_EQ(110, tip.brightness[0][100]);
    EXPECT_EQ(255, tip.brightness[2][255]);
    EXPECT_EQ(255, tip.brightness[3][0]);
}

TEST(BrushTip, ColourStampClipsAtTheEdges)
{
    GuardedImage image(4, 3);
    ColorPointTip tip;
    tip.mask.resize(3, 3);
    for (int i = 0; i < 9; ++i)
        tip.mask.bytes()[i] = 255;
    tip.mask.pixelAt(2, 1) = 0;
    tip.blendKernel = copySource;
    tip.color = rgb(9, 8, 7, 0);
    // Centre on the corner: only the cells at rows and columns >= 0 land,
    // and the alpha table makes them opaque.
    tip.stampColor(image.image, Point(0, 0));
    EXPECT_EQ(rgb(9, 8, 7), image.at(0, 0));
    EXPECT_EQ(rgb(9, 8, 7), image.at(0, 1));
    EXPECT_EQ(rgb(0, 0, 0, 0), image.at(1, 0)); // the mask's zero cell
    EXPECT_EQ(rgb(9, 8, 7), image.at(1, 1));
    EXPECT_EQ(rgb(0, 0, 0, 0), image.at(2, 1));
    tip.stampAt(image.image, Vec2(3.4f, 1.6f)); // rounds to (3, 2)
    EXPECT_EQ(rgb(9, 8, 7), image.at(3, 2));
    tip.stampColor(image.image, Point(INT_MAX, INT_MIN));
    EXPECT_TRUE(image.guardsIntact());
}

TEST(ImageCopyTip, OverlappingWalkSmearsAwayFromTheSource)
{
    GuardedImage image(8, 1);
    fillRamp(image);
    CopyTip tip(3, 1, {255, 255, 255});
    tip.source = &image.image;
    // Source left of the destination: left to right, each cell reads the
    // one just written.
    tip.stamp(image.image, Point(4, 0), Point(3, 0));
    EXPECT_EQ((std::vector<int>{0, 10, 20, 20, 20, 20, 60, 70}), redRow(image, 0));
    fillRamp(image);
    tip.stamp(image.image, Point(3, 0), Point(4, 0)); // right to left
    EXPECT_EQ((std::vector<int>{0, 10, 50, 50, 50, 50, 60, 70}), redRow(image, 0));
    fillRamp(image);
    tip.stamp(image.image, Point(3, 0), Point(3, 0)); // onto itself
    EXPECT_EQ((std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70}), redRow(image, 0));
    EXPECT_TRUE(image.guardsIntact());
}

TEST(ImageCopyTip, BackwardWalksMirrorTheMask)
{
    GuardedImage source(8, 3), target(8, 3);
    fillRamp(source);
    CopyTip tip(3, 1, {255, 255, 0});
    tip.source = &source.image;
    tip.stamp(target.image, Point(4, 1), Point(4, 1)); // forward: last column off
    EXPECT_EQ((std::vector<int>{0, 0, 0, 30, 40, 0, 0, 0}), redRow(target, 1));
    GuardedImage target2(8, 3);
    tip.stamp(target2.image, Point(4, 1), Point(5, 1)); // backward: first column off
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 50, 60, 0, 0}), redRow(target2, 1));

    // Rows likewise: a source below walks bottom-up.
    CopyTip column(1, 3, {255, 0, 0});
    column.source = &source.image;
    GuardedImage target3(8, 3);
    column.stamp(target3.image, Point(2, 1), Point(2, 2));
    EXPECT_EQ(20, target3.at(2, 2).g); // row 2 from source row 2 + 1, pulled back
    EXPECT_EQ(0, target3.at(2, 0).g);
}

TEST(ImageCopyTip, SourceWindowClampsAtTheEdges)
{
    GuardedImage source(8, 1), target(16, 1);
    fillRamp(source);
    CopyTip tip(5, 1, {255, 255, 255, 255, 255});
    tip.source = &source.image;
    // Walking away from the left edge: pulled in once, then read onwards.
    tip.stamp(target.image, Point(5, 0), Point(0, 0));
    EXPECT_EQ((std::vector<int>{0, 10, 20, 30, 40}), redSlice(target, 3, 8));
    // Walking toward the right edge: the edge pixel repeats.
    GuardedImage target2(16, 1);
    tip.stamp(target2.image, Point(7, 0), Point(7, 0));
    EXPECT_EQ((std::vector<int>{50, 60, 70, 70, 70}), redSlice(target2, 5, 10));
    // Far-away points read only inside the source and write nothing outside.
    tip.stamp(target2.image, Point(2, 0), Point(INT_MAX, INT_MIN));
    EXPECT_EQ((std::vector<int>{30, 40, 50, 60, 70}), redSlice(target2, 0, 5));
    tip.stamp(target2.image, Point(INT_MIN, INT_MAX), Point(3, 0));
    EXPECT_TRUE(source.guardsIntact());
    EXPECT_TRUE(target.guardsIntact());
    EXPECT_TRUE(target2.guardsIntact());
}

TEST(ImageCopyTip, PartlyOutsideZeroAndTinyImages)
{
    GuardedImage source(4, 4), target(4, 4);
    fillRamp(source);
    target.fill(rgb(1, 1, 1));
    CopyTip zeros(3, 3, std::vector<int>(9, 0));
    zeros.source = &source.image;
    zeros.stamp(target.image, Point(1, 1), Point(1, 1));
    EXPECT_EQ(rgb(1, 1, 1), target.at(1, 1));

    // A patch starting above the target still paints its inside rows.
    CopyTip full(3, 3, std::vector<int>(9, 255));
    full.source = &source.image;
    full.stamp(target.image, Point(1, -1), Point(1, -1));
    EXPECT_EQ(rgb(10, 0, 0), target.at(1, 0)); // source row -1 + 1 = 0
    EXPECT_EQ(rgb(1, 1, 1), target.at(1, 1));

    GuardedImage one(1, 1), other(1, 1);
    other.set(0, 0, rgb(200, 100, 50));
    full.source = &other.image;
    full.stamp(one.image, Point(0, 0), Point(3, -7));
    EXPECT_EQ(rgb(200, 100, 50), one.at(0, 0));
    EXPECT_TRUE(one.guardsIntact());
    EXPECT_TRUE(target.guardsIntact());

    Image empty;
    full.source = &empty; // nothing to read from: nothing happens
    full.stamp(one.image, Point(0, 0), Point(0, 0));
    EXPECT_EQ(rgb(200, 100, 50), one.at(0, 0));
}
