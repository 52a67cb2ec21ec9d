#include "image/Checkerboard.h"
#include "image/CompositeModes.h"
#include "image/CopyRegion.h"
#include "image/Image.h"
#include "image/OwnedBitmap.h"
#include "image/PixelGenerator.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Distinct opaque colour per coordinate.
Pixel tag(int x, int y)
{
    return Pixel(uint8_t(10 * x + 1), uint8_t(10 * y + 2), uint8_t(x + y + 3), 255);
}

void paintTags(Image& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, tag(x, y));
}

// A w x h view into a larger buffer whose extra columns and rows hold a
// sentinel colour, so any read outside the view shows in the result.
struct FencedImage
{
    FencedImage(int w, int h, const Pixel& inside, const Pixel& fence)
        : memory(size_t(w + 3) * (h + 3), fence), image(w, h, reinterpret_cast<uint8_t*>(memory.data()),
                                                       uint32_t(4 * (w + 3)), kFormatBgra)
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.setPixel(x, y, inside);
    }
    std::vector<Pixel> memory;
    Image image;
};

struct AlphaBySample : PixelSource
{
    void sample(Pixel& out, const float& x, const float&) const override
    {
        out = Pixel(100, 0, 0, x < 0.5f ? 0 : (x < 1.5f ? 128 : 255));
    }
};

Pixel takeSource(const Pixel& source, const Pixel&)
{
    return source;
}

Pixel addChannels(const Pixel& s, const Pixel& d)
{
    return Pixel(uint8_t(s.r + d.r), uint8_t(s.g + d.g), uint8_t(s.b + d.b), 255);
}

struct CoordinateGenerator : PixelGenerator
{
    void pixel(Pixel& out, const Image&, int x, int y) override
    {
        out = Pixel(uint8_t(x), uint8_t(y), 7, 255);
    }
};

struct SwapCompositor : PixelCompositor
{
    void composite(Pixel& out, const Image& source, int sx, int sy, const Pixel* destination) override
    {
        Pixel s = source.getPixel(sx, sy);
        out = Pixel(s.r, destination->g, uint8_t(sx * 16 + sy), 255);
    }
};

}

TEST(ImageClipping, ClipCopyRegion)
{
    OwnedBitmap dst(10, 10, kFormatBgra), src(10, 10, kFormatBgra);
    int dx = -3, dy = 5, sx = 0, sy = 0, w = 10, h = 10;
    clipCopyRegion(dst, src, dx, dy, sx, sy, w, h);
    EXPECT_EQ(0, dx);
    EXPECT_EQ(5, dy);
    EXPECT_EQ(3, sx);
    EXPECT_EQ(0, sy);
    EXPECT_EQ(7, w);
    EXPECT_EQ(5, h);

    dx = 1, dy = 2, sx = 3, sy = 4, w = 0, h = 5;
    clipCopyRegion(dst, src, dx, dy, sx, sy, w, h);
    EXPECT_EQ(0, dx + dy + sx + sy + w + h);

    // Far-off requests neither overflow nor copy anything.
    dx = 2147483000, dy = 0, sx = 0, sy = 0, w = 2147483000, h = 3;
    clipCopyRegion(dst, src, dx, dy, sx, sy, w, h);
    EXPECT_LE(w, 0);
    dx = -2147483000, dy = 0, sx = 0, sy = 0, w = 2147483000, h = 3;
    clipCopyRegion(dst, src, dx, dy, sx, sy, w, h);
    EXPECT_LE(w, 0);
}

TEST(ImageClipping, CopyRegionKeepsSourceAndPointAligned)
{
    OwnedBitmap dst(10, 10, kFormatBgra), src(10, 10, kFormatBgra);
    CopyRegion left(src, dst, Rect(0, 0, 10, 10), Point(-3, 5));
    left.clip();
    EXPECT_EQ(3, left.sourceRect.left);
    EXPECT_EQ(0, left.sourceRect.top);
    EXPECT_EQ(10, left.sourceRect.right);
    EXPECT_EQ(5, left.sourceRect.bottom);
    EXPECT_EQ(0, left.point.x);
    EXPECT_EQ(5, left.point.y);

    CopyRegion outside(src, dst, Rect(0, 0, 5, 5), Point(20, 20));
    outside.clip();
    EXPECT_EQ(0, outside.sourceRect.right);
    EXPECT_EQ(0, outside.point.x);
}

TEST(ImageCopies, ClipsAtEveryEdge)
{
    OwnedBitmap src(10, 10, kFormatBgra);
    paintTags(src);
    const Pixel blank(0, 0, 0, 0);
    struct Case { int dx, dy; };
    for (Case c : {Case{-3, 5}, Case{4, -6}, Case{7, 2}, Case{1, 8}, Case{-9, -9}, Case{10, 0}}) {
        OwnedBitmap dst(10, 10, kFormatBgra);
        dst.fill(blank);
        dst.copyAt(src, c.dx, c.dy);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) {
                int sx = x - c.dx, sy = y - c.dy;
                bool inside = sx >= 0 && sx < 10 && sy >= 0 && sy < 10;
                EXPECT_EQ(inside ? tag(sx, sy) : blank, dst.getPixel(x, y))
                    << "offset " << c.dx << "," << c.dy << " at " << x << "," << y;
            }
    }

    OwnedBitmap dst(4, 4, kFormatBgra);
    dst.fill(blank);
    dst.copyRectAt(src, Point(1, 1), Rect(5, 6, 7, 9));
    EXPECT_EQ(tag(5, 6), dst.getPixel(1, 1));
    EXPECT_EQ(tag(6, 8), dst.getPixel(2, 3));
    EXPECT_EQ(blank, dst.getPixel(3, 3));

    dst.copyOffset(src, 0, 0, 8, 8);
    EXPECT_EQ(tag(8, 8), dst.getPixel(0, 0));
    EXPECT_EQ(tag(9, 9), dst.getPixel(1, 1));

    dst.copyFrom(src);
    EXPECT_EQ(tag(3, 3), dst.getPixel(3, 3));
}

TEST(ImageCopies, BetweenFormats)
{
    uint8_t rgb[2 * 3] = {1, 2, 3, 4, 5, 6};
    Image source(2, 1, rgb, 6, kFormatRgb);

    OwnedBitmap bgr(2, 1, kFormatBgr);
    bgr.copyFrom(source);
    EXPECT_EQ(3, bgr.bits()[0]);
    EXPECT_EQ(1, bgr.bits()[2]);
    EXPECT_EQ(Pixel(4, 5, 6, 255), bgr.getPixel(1, 0));

    OwnedBitmap bgra(2, 1, kFormatBgra);
    bgra.fill(Pixel(0, 0, 0, 0));
    bgra.copyFrom(source);
    EXPECT_EQ(Pixel(1, 2, 3, 255), bgra.getPixel(0, 0));

    // Pairs that writeSpan refuses are left alone.
    OwnedBitmap rgba(2, 1, kFormatRgba);
    rgba.fill(Pixel(9, 9, 9, 9));
    rgba.copyFrom(source);
    EXPECT_EQ(Pixel(9, 9, 9, 9), rgba.getPixel(1, 0));
    OwnedBitmap rgbCopy(2, 1, kFormatRgb);
    rgbCopy.fill(Pixel(7, 7, 7, 7));
    rgbCopy.copyFrom(bgr);
    EXPECT_EQ(Pixel(7, 7, 7, 255), rgbCopy.getPixel(0, 0));
}

TEST(ImageBlend, BlendImageRectClipsToBothImages)
{
    const Pixel fence(255, 255, 255, 255);
    FencedImage src(2, 2, Pixel(200, 0, 0, 255), fence);
    OwnedBitmap dst(6, 6, kFormatBgra);
    dst.fill(Pixel(0, 0, 0, 0));

    // A target rectangle larger than the source reads no fence pixel.
    dst.blendImageRect(src.image, 1, 1, 6, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            bool inside = x >= 1 && x < 3 && y >= 1 && y < 3;
            EXPECT_EQ(inside ? Pixel(199, 0, 0, 254) : Pixel(0, 0, 0, 0), dst.getPixel(x, y))
                << x << "," << y;
        }

    // Negative corners skip source columns and rows; the far edges clip.
    dst.fill(Pixel(0, 0, 0, 0));
    src.image.setPixel(1, 1, Pixel(0, 0, 200, 128));
    dst.blendImageAt(src.image, -1, -1);
    EXPECT_EQ(Pixel(0, 0, 100, 64), dst.getPixel(0, 0));
    EXPECT_EQ(Pixel(0, 0, 0, 0), dst.getPixel(1, 0));
    dst.blendImageAt(src.image, 5, 5);
    EXPECT_EQ(Pixel(199, 0, 0, 254), dst.getPixel(5, 5));

    // Only four-channel sources blend.
    OwnedBitmap bgr(2, 2, kFormatBgr);
    bgr.fill(Pixel(50, 50, 50, 255));
    dst.fill(Pixel(1, 2, 3, 4));
    dst.blendImageAt(bgr, 0, 0);
    EXPECT_EQ(Pixel(1, 2, 3, 4), dst.getPixel(0, 0));

    // Into a three-channel destination.
    OwnedBitmap target(2, 1, kFormatBgr);
    target.fill(Pixel(0, 0, 0, 255));
    target.blendImageAt(src.image, 0, 0);
    EXPECT_EQ(Pixel(199, 0, 0, 255), target.getPixel(0, 0));
}

TEST(ImageFill, FormatsAndClipping)
{
    const Pixel c(10, 20, 30, 40);
    OwnedBitmap b4(3, 2, kFormatBgr), b5(3, 2, kFormatRgb), b6(3, 2, kFormatBgra),
        b7(3, 2, kFormatRgba), b2(3, 2, kFormatGrey);
    for (Image* im : {(Image*)&b4, (Image*)&b5, (Image*)&b6, (Image*)&b7})
        im->fill(c);
    EXPECT_EQ(30, b4.bits()[0]);
    EXPECT_EQ(10, b5.bits()[0]);
    EXPECT_EQ(40, b6.bits()[3]);
    EXPECT_EQ(10, b7.bits()[4]);
    EXPECT_EQ(Pixel(10, 20, 30, 255), b4.getPixel(2, 1));
    EXPECT_EQ(c, b7.getPixel(2, 1));

    b2.bits()[0] = 77;
    b2.fill(c);
    EXPECT_EQ(77, b2.bits()[0]);

    OwnedBitmap b(5, 5, kFormatBgra);
    b.fill(Pixel(0, 0, 0, 0));
    b.fillRect(Pixel(1, 1, 1, 1), Rect(3, 4, -2, 10));  // reversed and past the edges
    EXPECT_EQ(Pixel(1, 1, 1, 1), b.getPixel(0, 4));
    EXPECT_EQ(Pixel(1, 1, 1, 1), b.getPixel(2, 4));
    EXPECT_EQ(Pixel(0, 0, 0, 0), b.getPixel(3, 4));
    EXPECT_EQ(Pixel(0, 0, 0, 0), b.getPixel(0, 3));
    b.fillRect(Pixel(2, 2, 2, 2), Rect(7, 7, 9, 9));
    b.fillRect(Pixel(2, 2, 2, 2), Rect(1, 1, 1, 4));
    EXPECT_EQ(Pixel(0, 0, 0, 0), b.getPixel(1, 1));

    CoordinateGenerator gen;
    b.fillFrom(gen);
    EXPECT_EQ(Pixel(4, 3, 7, 255), b.getPixel(4, 3));

    b.fill(Pixel(1, 2, 3, 4));
    b.setPixel(0, 0, Pixel(1, 2, 9, 4));
    b.replaceMaskedColor(Pixel(1, 2, 0, 0), Pixel(50, 60, 70, 80), 0x00FFFF00u);
    EXPECT_EQ(Pixel(50, 60, 3, 4), b.getPixel(1, 1));
    EXPECT_EQ(Pixel(50, 60, 9, 4), b.getPixel(0, 0));
}

TEST(ImageFill, Checkerboard)
{
    OwnedBitmap b(16, 16, kFormatBgra);
    const Pixel first(1, 1, 1, 255), second(2, 2, 2, 255);
    EXPECT_TRUE(Checkerboard(first, second).fill(b));
    EXPECT_EQ(second, b.getPixel(0, 0));
    EXPECT_EQ(second, b.getPixel(7, 7));
    EXPECT_EQ(first, b.getPixel(8, 0));
    EXPECT_EQ(first, b.getPixel(0, 8));
    EXPECT_EQ(second, b.getPixel(8, 8));
    EXPECT_EQ(second, b.getPixel(15, 15));
    EXPECT_EQ(first, b.getPixel(15, 7));
}

TEST(ImageComposite, ApplyAndCompositeClip)
{
    OwnedBitmap src(4, 4, kFormatBgra);
    paintTags(src);
    OwnedBitmap dst(3, 3, kFormatBgra);

    dst.fill(Pixel(0, 0, 0, 0));
    CoordinateGenerator gen;
    src.applyRegion(dst, -1, 1, 0, 0, 4, 4, gen);
    EXPECT_EQ(Pixel(1, 0, 7, 255), dst.getPixel(0, 1));
    EXPECT_EQ(Pixel(3, 1, 7, 255), dst.getPixel(2, 2));
    EXPECT_EQ(Pixel(0, 0, 0, 0), dst.getPixel(0, 0));

    dst.fill(Pixel(0, 50, 0, 255));
    SwapCompositor swap;
    src.compositeOntoWith(dst, Point(1, 0), Rect(2, 1, 4, 4), swap);
    EXPECT_EQ(Pixel(tag(2, 1).r, 50, 2 * 16 + 1, 255), dst.getPixel(1, 0));
    EXPECT_EQ(Pixel(tag(3, 3).r, 50, 3 * 16 + 3, 255), dst.getPixel(2, 2));
    EXPECT_EQ(Pixel(0, 50, 0, 255), dst.getPixel(0, 0));

    dst.fill(Pixel(1, 1, 1, 255));
    src.compositeOnto(dst, addChannels);
    Pixel t = tag(2, 2);
    EXPECT_EQ(Pixel(uint8_t(t.r + 1), uint8_t(t.g + 1), uint8_t(t.b + 1), 255), dst.getPixel(2, 2));

    dst.fill(Pixel(0, 0, 0, 0));
    src.compositeAt(dst, Point(-2, 2), takeSource);
    EXPECT_EQ(tag(2, 0), dst.getPixel(0, 2));
    EXPECT_EQ(Pixel(0, 0, 0, 0), dst.getPixel(0, 1));

    dst.fill(Pixel(0, 0, 0, 0));
    src.compositeRectOnto(dst, Point(0, 0), Rect(3, 3, 9, 9), takeSource);
    EXPECT_EQ(tag(3, 3), dst.getPixel(0, 0));
    EXPECT_EQ(Pixel(0, 0, 0, 0), dst.getPixel(1, 0));

    // The preview lays images over a checkerboard with the alpha lerp.
    OwnedBitmap board(3, 3, kFormatBgr);
    Checkerboard(Pixel(191, 191, 191, 255), Pixel(255, 255, 255, 255)).fill(board);
    src.setPixel(1, 1, Pixel(0, 0, 0, 0));
    src.compositeOnto(board, lerpArgbBySourceAlpha);
    EXPECT_EQ(Pixel(255, 255, 255, 255), board.getPixel(1, 1));
    EXPECT_EQ(tag(2, 1).r + 1, board.getPixel(2, 1).r);
    src.setPixel(1, 1, tag(1, 1));

    OwnedBitmap copy;
    ASSERT_TRUE(src.renderInto(copy, nullptr, kFormatBgr));
    EXPECT_EQ(kFormatBgr, copy.format());
    EXPECT_EQ(tag(3, 2), copy.getPixel(3, 2));
    Image view;
    EXPECT_FALSE(src.renderInto(view));
}

TEST(ImageResample, ScaleFrom)
{
    OwnedBitmap src(2, 2, kFormatBgra);
    paintTags(src);
    OwnedBitmap same(2, 2, kFormatBgr);
    same.scaleFrom(src);
    EXPECT_EQ(tag(1, 0), same.getPixel(1, 0));
    same.fill(Pixel(0, 0, 0, 255));
    same.scalePixelsFrom(src);
    EXPECT_EQ(tag(0, 1), same.getPixel(0, 1));

    // A grey ramp stretched from 2 to 3 pixels samples at 0, 1/3 and 2/3.
    uint8_t ramp[2] = {0, 200};
    Image grey(2, 1, ramp, 4, kFormatGrey);
    OwnedBitmap wide(3, 1, kFormatBgra);
    wide.fill(Pixel(0, 0, 0, 0));
    wide.scaleFrom(grey);
    EXPECT_EQ(0, wide.getPixel(0, 0).r);
    EXPECT_NEAR(66, wide.getPixel(1, 0).r, 2);
    EXPECT_NEAR(133, wide.getPixel(2, 0).r, 2);
}

TEST(ImageResample, RenderAffineAndBlendSpanFrom)
{
    OwnedBitmap src(4, 4, kFormatBgra);
    paintTags(src);
    OwnedBitmap dst(3, 3, kFormatBgra);
    dst.fill(Pixel(0, 0, 0, 0));
    // Transposed copy starting left of and above the image.
    dst.renderAffine(src, Rect(-1, -1, 5, 2), 0.5f, 0.5f, Vec2(0, 1), Vec2(1, 0));
    EXPECT_EQ(tag(1, 1), dst.getPixel(0, 0));
    EXPECT_EQ(tag(1, 3), dst.getPixel(2, 0));
    EXPECT_EQ(tag(2, 2), dst.getPixel(1, 1));
    EXPECT_EQ(Pixel(0, 0, 0, 0), dst.getPixel(0, 2));

    OwnedBitmap row(4, 1, kFormatBgra);
    row.fill(Pixel(0, 0, 0, 10));
    AlphaBySample source;
    row.blendSpanFrom(0, 0, 1, source, 0.0f, 0.0f, Vec2(1, 0));
    EXPECT_EQ(Pixel(0, 0, 0, 10), row.getPixel(0, 0));
    row.blendSpanFrom(-1, 0, 10, source, 0.0f, 0.0f, Vec2(1, 0));
    EXPECT_EQ(Pixel(50, 0, 0, 128), row.getPixel(0, 0));
    EXPECT_EQ(Pixel(100, 0, 0, 255), row.getPixel(1, 0));
    EXPECT_EQ(Pixel(100, 0, 0, 255), row.getPixel(3, 0));
    row.blendSpanFrom(0, 1, 4, source, 0, 0, Vec2(1, 0));
    row.blendSpanFrom(0, -1, 4, source, 0, 0, Vec2(1, 0));
}
