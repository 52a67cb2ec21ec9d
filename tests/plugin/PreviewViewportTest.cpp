#include <gtest/gtest.h>

#include "plugin/PreviewViewport.h"

namespace {

void expectRect(const Rect& r, int l, int t, int rt, int b)
{
    EXPECT_EQ(l, r.left);
    EXPECT_EQ(t, r.top);
    EXPECT_EQ(rt, r.right);
    EXPECT_EQ(b, r.bottom);
}

} // namespace

TEST(PreviewViewport, ZoomLadderStopsAtBothEndsAndScalesThePan)
{
    PreviewViewport v;
    v.setRects(Rect(0, 0, 400, 300), Rect(0, 0, 200, 200));
    EXPECT_FLOAT_EQ(1.0f, v.ratio());
    int in = 0;
    while (v.canZoomIn() && v.zoomIn())
        ++in;
    EXPECT_EQ(4, in); // 150, 200, 250, 300 %
    EXPECT_FLOAT_EQ(3.0f, v.ratio());
    EXPECT_FALSE(v.canZoomIn());
    EXPECT_FALSE(v.zoomIn());
    EXPECT_FLOAT_EQ(3.0f, v.ratio());

    v.setRects(Rect(0, 0, 400, 300), Rect(0, 0, 200, 200));
    int out = 0;
    while (v.canZoomOut() && v.zoomOut())
        ++out;
    EXPECT_EQ(4, out); // 66.7, 50, 40, 33.3 %
    EXPECT_NEAR(1.0 / 3.0, v.ratio(), 1e-6);
    EXPECT_FALSE(v.zoomOut());

    // Pan offsets follow the zoom, truncated toward zero.
    const Point p = panAfterZoom(Point(10, -7), 1.0f, 1.5f);
    EXPECT_EQ(15, p.x);
    EXPECT_EQ(-10, p.y);
    const Point q = panAfterZoom(Point(-7, 7), 1.5f, 1.0f);
    EXPECT_EQ(-4, q.x);
    EXPECT_EQ(4, q.y);
}

TEST(PreviewViewport, SmallImageIsCentredAndCannotScroll)
{
    PreviewViewport v;
    v.setRects(Rect(100, 80, 0, 0), Rect(0, 0, 300, 200)); // corners swapped on purpose
    expectRect(v.imageRect(), 0, 0, 100, 80);
    EXPECT_FALSE(v.canScroll());
    expectRect(v.displayRect(), 100, 60, 200, 140);
    EXPECT_EQ(0, v.origin().x);
    EXPECT_FALSE(v.scrollBy(Point(5, 5)));

    // At 300 % the scaled image overflows the window and the origin clamps.
    while (v.zoomIn()) {
    }
    EXPECT_TRUE(v.canScroll());
    expectRect(v.scaledImageRect(), 0, 0, 300, 240);
    v.centre();
    EXPECT_EQ(20, v.origin().y); // (240 - 200) / 2
    EXPECT_TRUE(v.scrollBy(Point(0, 1000)));
    EXPECT_EQ(40, v.origin().y);
    expectRect(v.visibleRect(), 0, 13, 100, 80);
}

TEST(PreviewViewport, VisibleImageRectCentresOnImagePlusPanOverRatio)
{
    // 100 %: the surface shows the image's centre part.
    expectRect(previewVisibleImageRect(200, 100, 1.0f, Point(0, 0), 1000, 600), 400, 250, 600, 350);
    // A drag to the right of 20 screen pixels at 200 % moves 10 image pixels.
    expectRect(previewVisibleImageRect(200, 100, 2.0f, Point(20, 0), 1000, 600), 460, 275, 560, 325);
    // 50 %: twice the image area, partly outside the image (clipped later).
    expectRect(previewVisibleImageRect(200, 100, 0.5f, Point(0, 0), 100, 50), -150, -75, 250, 125);
}
