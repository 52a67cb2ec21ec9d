#include <climits>

#include <gtest/gtest.h>

#include "engine/PaintIf.h"
#include "engine/brushes/ColorPointBrush.h"
#include "engine/brushes/ImageCopyBrush.h"
#include "engine/brushes/SwapBlendBrush.h"
#include "engine/brushes/SwapHsvBrush.h"
#include "engine/brushes/SwapPointBrush.h"
#include "engine/brushes/SwapRgbBrush.h"
#include "engine/tips/ColorPointTip.h"
#include "image/ColourMath.h"
#include "PaintTestSupport.h"

using namespace painttest;

namespace {

void setRange(Component& c, const char* id, int first, int second)
{
    c.findParameter(id).setValue(first, 0);
    c.findParameter(id).setValue(second, 1);
}

void setOne(Component& c, const char* id, int value)
{
    c.findParameter(id).setValue(value, 0);
}

int paintIfIndex(const char* id)
{
    return paintIfPredicates.indexOf(id);
}

// A picture of width x height with the canvas over it; P and Q are the
// pixels the tests dab between.
struct BrushFixture {
    BrushFixture(int width, int height) : picture(width, height), canvas(canvasOver(picture.image))
    {
        picture.fill(rgb(1, 2, 3));
    }
    GuardedImage picture;
    Canvas canvas;
};

template <class B>
struct Prepared : BrushFixture {
    Prepared(int width, int height, int steps = 8) : BrushFixture(width, height)
    {
        brush.setCanvas(&canvas);
        brush.prepare(steps);
    }
    void reprepare(int steps = 8) { brush.prepare(steps); }
    B brush;
};

} // namespace

// --- Swap Point ---

TEST(SwapPointBrush, DefaultsAverageBothPixels)
{
    Prepared<SwapPointBrush> f(3, 1);
    f.picture.set(0, 0, rgb(10, 21, 31, 100));
    f.picture.set(1, 0, rgb(50, 61, 71, 200));
    EXPECT_TRUE(f.brush.dab(Vec2(0.0f, 0.0f), Vec2(1.0f, 0.0f), 0.5f));
    // Each half adds its 0.5 before truncation; alphas stay.
    EXPECT_EQ(rgb(30, 42, 52, 100), f.picture.at(0, 0));
    EXPECT_EQ(rgb(30, 42, 52, 200), f.picture.at(1, 0));
    EXPECT_EQ(rgb(1, 2, 3), f.picture.at(2, 0));

    f.picture.set(0, 0, rgb(1, 255, 0));
    f.picture.set(1, 0, rgb(1, 255, 0));
    f.brush.dab(Vec2(0.0f, 0.0f), Vec2(1.0f, 0.0f), 0.5f);
    EXPECT_EQ(rgb(2, 255, 0), f.picture.at(0, 0));
    EXPECT_TRUE(f.picture.guardsIntact());
}

TEST(SwapPointBrush, SamePixelDoesNothingAndEdgesClamp)
{
    Prepared<SwapPointBrush> f(2, 1);
    f.picture.set(1, 0, rgb(11, 11, 11));
    EXPECT_TRUE(f.brush.dab(Vec2(1.0f, 0.0f), Vec2(0.4f, -0.3f), 0.0f));
    EXPECT_EQ(rgb(11, 11, 11), f.picture.at(1, 0));
    EXPECT_EQ(rgb(0, 0, 0, 0), f.brush.stickyP); // not even captured

    // Q beyond the right edge reads the edge pixel; only P is written.
    EXPECT_TRUE(f.brush.dab(Vec2(1.0f, 0.0f), Vec2(1.0f, 0.0f), 0.0f));
    EXPECT_EQ(rgb(12, 12, 12), f.picture.at(1, 0));
    EXPECT_EQ(rgb(1, 2, 3), f.picture.at(0, 0));

    // Far-away positions saturate instead of wrapping onto the image.
    EXPECT_TRUE(f.brush.dab(Vec2(3.0e9f, -3.0e9f), Vec2(3.0e9f, 1.0f), 0.5f));
    EXPECT_TRUE(f.brush.dab(Vec2(2147483520.0f, 0.0f), Vec2(1000.0f, 0.0f), 0.5f));
    EXPECT_TRUE(f.picture.guardsIntact());
}

TEST(SwapPointBrush, RefusalStickyAndOffset)
{
    Prepared<SwapPointBrush> f(4, 1);
    f.picture.set(0, 0, rgb(200, 200, 200));
    setOne(f.brush, "limit", paintIfIndex("bright_lt")); // src darker than dest
    f.reprepare();
    EXPECT_FALSE(f.brush.dab(Vec2(0.0f, 0.0f), Vec2(1.0f, 0.0f), 0.5f));
    EXPECT_EQ(rgb(200, 200, 200), f.picture.at(0, 0));
    EXPECT_EQ(rgb(1, 2, 3), f.picture.at(1, 0));

    // Sticky 1: every P of the stroke is its first P.
    setOne(f.brush, "limit", 0);
    setRange(f.brush, "pushstickycolor", 100, 100);
    f.reprepare();
    f.brush.dab(Vec2(0.0f, 0.0f), Vec2(1.0f, 0.0f), 0.0f);
    f.picture.set(2, 0, rgb(7, 7, 7));
    f.brush.dab(Vec2(2.0f, 0.0f), Vec2(1.0f, 0.0f), 0.5f);
    EXPECT_EQ(rgb(200, 200, 200), f.brush.stickyP);
    EXPECT_EQ(101, f.picture.at(2, 0).r); // 100 from P, 1 from Q

    // The canvas area starts at (10, 0): area x 12 is pixel 2.
    Canvas shifted = f.canvas;
    shifted.area = Rect(10, 0, 14, 1);
    f.brush.setCanvas(&shifted);
    setRange(f.brush, "pushstickycolor", 0, 0);
    f.reprepare();
    f.picture.set(2, 0, rgb(41, 41, 41));
    f.picture.set(3, 0, rgb(41, 41, 41));
    f.brush.dab(Vec2(12.0f, 0.0f), Vec2(1.0f, 0.0f), 0.5f);
    EXPECT_EQ(rgb(42, 42, 42), f.picture.at(2, 0));
    EXPECT_TRUE(f.picture.guardsIntact());
}

TEST(PointBrushes, OneByOneImageAndNoCanvas)
{
    SwapRgbBrush lonely;
    EXPECT_FALSE(lonely.dab(Vec2(0.0f, 0.0f), Vec2(1.0f, 0.0f), 0.0f));

    Prepared<SwapRgbBrush> rgbBrush(1, 1);
    Prepared<SwapHsvBrush> hsvBrush(1, 1);
    Prepared<SwapBlendBrush> blendBrush(1, 1);
    Prepared<SwapPointBrush> pointBrush(1, 1);
    const Vec2 at(0.0f, 0.0f), away(-3.0f, 5.0f);
    EXPECT_TRUE(rgbBrush.brush.dab(at, away, 0.0f));
    EXPECT_TRUE(hsvBrush.brush.dab(at, away, 0.0f));
    EXPECT_TRUE(blendBrush.brush.dab(at, away, 0.0f));
    EXPECT_TRUE(pointBrush.brush.dab(at, away, 0.0f));
    EXPECT_TRUE(rgbBrush.picture.guardsIntact());
    EXPECT_TRUE(hsvBrush.picture.guardsIntact());
    EXPECT_TRUE(blendBrush.picture.guardsIntact());
    EXPECT_TRUE(pointBrush.picture.guardsIntact());
}

// --- Swap RGB / HSV / Blend ---

TEST(SwapRgbBrush, ChannelWeightsAndOneSidedRefusal)
{
    Prepared<SwapRgbBrush> f(2, 1);
    setRange(f.brush, "srcr", 100, 100);
    setRange(f.brush, "srcg", 0, 0);
    f.reprepare();
    f.picture.set(0, 0, rgb(10, 20, 30));
    f.picture.set(1, 0, rgb(50, 60, 71));
    EXPECT_TRUE(f.brush.dab(Vec2(0.0f, 0.0f), Vec2(1.0f, 0.0f), 0.5f));
    EXPECT_EQ(rgb(50, 20, 50), f.picture.at(0, 0)); // 30 + 41 * 0.5 = 50.5 -> 50
    EXPECT_EQ(rgb(30, 40, 50), f.picture.at(1, 0)); // from the unwritten P

    // limit.src refusing still writes Q and reports painted.
    f.picture.set(0, 0, rgb(200, 200, 200));
    f.picture.set(1, 0, rgb(0, 0, 0));
    setOne(f.brush, "limit.src", paintIfIndex("bright_lt"));
    f.reprepare();
    EXPECT_TRUE(f.brush.dab(Vec2(0.0f, 0.0f), Vec2(1.0f, 0.0f), 0.5f));
    EXPECT_EQ(rgb(200, 200, 200), f.picture.at(0, 0));
    EXPECT_EQ(rgb(100, 100, 100), f.picture.at(1, 0));
    setOne(f.brush, "limit.dest", paintIfIndex("bright_gt"));
    f.reprepare();
    EXPECT_FALSE(f.brush.dab(Vec2(0.0f, 0.0f), Vec2(1.0f, 0.0f), 0.5f));
}

TEST(SwapHsvBrush, StickyBrightnessCompounds)
{
    Prepared<SwapHsvBrush> f(3, 1);
    setRange(f.brush, "pushstickycolor", 100, 100);
    setRange(f.brush, "brightness.src", 1100, 1100);
    f.reprepare();
    const Pixel p = rgb(100, 50, 20);
    f.picture.set(0, 0, p);
    f.brush.dab(Vec2(0.0f, 0.0f), Vec2(1.0f, 0.0f), 0.0f);
    f.brush.dab(Vec2(1.0f, 0.0f), Vec2(1.0f, 0.0f), 0.5f);
    Pixel expected = p;
    scalePixelRgb(expected, 1.1f);
    scalePixelRgb(expected, 1.1f);
    EXPECT_EQ(expected, f.brush.stickyP);
    // The second dab's P write is the HSV blend of that P toward Q.
    const Pixel q = rgb(1, 2, 3);
    EXPECT_EQ(blendPixelHsv(expected, q, 0.5f, 0.5f, 0.5f), f.picture.at(1, 0));
}

TEST(SwapBlendBrush, CompositesAndWeights)
{
    Prepared<SwapBlendBrush> f(2, 1);
    f.picture.set(0, 0, rgb(10, 20, 30));
    f.picture.set(1, 0, rgb(50, 60, 70));
    // Q over P with "blend" at Q's full alpha lands on Q; half of the way.
    EXPECT_TRUE(f.brush.dab(Vec2(0.0f, 0.0f), Vec2(1.0f, 0.0f), 0.5f));
    EXPECT_EQ(rgb(30, 40, 50), f.picture.at(0, 0));

    // Weight 0 writes P unchanged and still counts as painted.
    setRange(f.brush, "src", 0, 0);
    f.reprepare();
    f.picture.set(0, 0, rgb(10, 20, 30));
    EXPECT_TRUE(f.brush.dab(Vec2(0.0f, 0.0f), Vec2(1.0f, 0.0f), 0.5f));
    EXPECT_EQ(rgb(10, 20, 30), f.picture.at(0, 0));

    // A transparent Q leaves the composite at P.
    setRange(f.brush, "src", 100, 100);
    f.reprepare();
    f.picture.set(1, 0, rgb(250, 250, 250, 0));
    f.brush.dab(Vec2(0.0f, 0.0f), Vec2(1.0f, 0.0f), 0.5f);
    EXPECT_EQ(rgb(10, 20, 30), f.picture.at(0, 0));
}

// --- Tip-shaped brushes ---

TEST(ShapedBrush, TipsAlongTheStroke)
{
    Prepared<ImageCopyBrush> f(8, 8, 3);
    EXPECT_EQ(3, f.brush.tipCount());
    setRange(f.brush, "radius", 10, 30);
    f.reprepare(3);
    // Radii 1, sqrt(5), 3: the area changes linearly.
    EXPECT_EQ(2, f.brush.tipAt(0)->mask.width());
    EXPECT_EQ(5, f.brush.tipAt(1)->mask.width());
    EXPECT_EQ(6, f.brush.tipAt(2)->mask.width());
    EXPECT_FLOAT_EQ((2 + 2 + 6 + 6) / 8.0f, f.brush.meanRadius());
    EXPECT_FLOAT_EQ(f.brush.tipAt(2)->spacing(), f.brush.sizeAt(1.0f));
    EXPECT_FLOAT_EQ(f.brush.tipAt(2)->spacing(), f.brush.sizeAt(0.5f)); // 1.5 to even
    EXPECT_FLOAT_EQ(f.brush.tipAt(1)->spacing(), f.brush.sizeAt(0.4f));

    f.reprepare(1);
    EXPECT_EQ(1, f.brush.tipCount());
    EXPECT_EQ(2, f.brush.tipAt(0)->mask.width()); // built from the first values
    f.reprepare(0);
    EXPECT_EQ(1, f.brush.tipCount());
    f.reprepare(1000);
    EXPECT_EQ(160, f.brush.tipCount());

    ImageCopyBrush fresh;
    EXPECT_EQ(0.0f, fresh.meanSize());
    EXPECT_EQ(0.0f, fresh.spacingScale());
    EXPECT_EQ(0.0f, fresh.sizeAt(0.5f));
    EXPECT_FALSE(fresh.dab(Vec2(0.0f, 0.0f), Vec2(1.0f, 0.0f), 0.0f));
}

TEST(ShapedBrush, BrightnessStopsShortOfTheSecondValue)
{
    Prepared<ColorPointBrush> f(4, 4);
    setRange(f.brush, "brightness", 900, 1100);
    f.reprepare(2);
    EXPECT_EQ(90, f.brush.tipAt(0)->brightness[0][100]);
    EXPECT_EQ(100, f.brush.tipAt(1)->brightness[0][100]);
}

TEST(ImageCopyBrush, CopiesAlongTheDirection)
{
    Prepared<ImageCopyBrush> f(9, 9);
    setRange(f.brush, "radius", 5, 5); // one pixel, weight 255
    f.reprepare();
    f.picture.set(2, 4, rgb(200, 100, 0));
    EXPECT_TRUE(f.brush.dab(Vec2(2.0f, 4.0f), Vec2(3.6f, 0.0f), 0.0f));
    EXPECT_EQ(rgb(199, 100, 0), f.picture.at(6, 4)); // "blend" at 255 stops one short

    // Reversed: the moved point is copied back onto the dab position.
    setOne(f.brush, "swap", 1);
    f.reprepare();
    f.picture.set(6, 4, rgb(0, 0, 0));
    f.brush.dab(Vec2(2.0f, 4.0f), Vec2(4.0f, 0.0f), 0.0f);
    EXPECT_EQ(rgb(1, 0, 0), f.picture.at(2, 4));

    // A refused dab paints nothing.
    setOne(f.brush, "limit", paintIfIndex("src_high"));
    f.reprepare();
    EXPECT_FALSE(f.brush.dab(Vec2(2.0f, 4.0f), Vec2(4.0f, 0.0f), 0.0f));

    Prepared<ImageCopyBrush> tiny(1, 1);
    EXPECT_TRUE(tiny.brush.dab(Vec2(0.0f, 0.0f), Vec2(2.0f, -2.0f), 0.5f));
    EXPECT_TRUE(tiny.brush.dab(Vec2(-3.0e9f, 3.0e9f), Vec2(3.0e9f, 1.0f), 1.0f));
    EXPECT_TRUE(tiny.picture.guardsIntact());
    EXPECT_TRUE(f.picture.guardsIntact());
}

TEST(ColorPointBrush, ColourFromPStampedAtQ)
{
    Prepared<ColorPointBrush> f(9, 9, 10);
    setRange(f.brush, "colormix", 100, 100);
    f.reprepare(10);
    f.picture.set(2, 2, rgb(200, 100, 50));
    EXPECT_TRUE(f.brush.dab(Vec2(2.0f, 2.0f), Vec2(4.0f, 4.0f), 0.0f));
    ColorPointTip* first = static_cast<ColorPointTip*>(f.brush.tipAt(0));
    EXPECT_EQ(200, first->color.r);
    EXPECT_EQ(50, first->color.b);
    EXPECT_GT(f.picture.at(6, 6).r, 100);
    EXPECT_EQ(rgb(1, 2, 3), f.picture.at(2, 4));

    // t = 0.99 over 10 tips takes tip 8; sticky 1 with "original" keeps
    // the colour the stroke's first dab took up.
    setRange(f.brush, "stickycolor", 100, 100);
    f.reprepare(10);
    f.brush.dab(Vec2(2.0f, 2.0f), Vec2(1.0f, 0.0f), 0.5f);
    EXPECT_EQ(rgb(200, 100, 50, 255), static_cast<ColorPointTip*>(f.brush.tipAt(4))->color);
    f.brush.dab(Vec2(5.0f, 5.0f), Vec2(1.0f, 0.0f), 0.99f);
    EXPECT_EQ(rgb(200, 100, 50, 255), static_cast<ColorPointTip*>(f.brush.tipAt(8))->color);

    Prepared<ColorPointBrush> tiny(1, 1);
    EXPECT_TRUE(tiny.brush.dab(Vec2(0.0f, 0.0f), Vec2(1.0f, 1.0f), 0.0f));
    EXPECT_TRUE(tiny.picture.guardsIntact());
    EXPECT_TRUE(f.picture.guardsIntact());
}
