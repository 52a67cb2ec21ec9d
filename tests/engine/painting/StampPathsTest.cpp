#include <vector>

#include <gtest/gtest.h>

#include "engine/tips/ColorPointTip.h"
#include "engine/tips/DefaultBlend.h"
#include "engine/tips/ImageCopyTip.h"
#include "foundation/Rect.h"
#include "image/BlendKernels.h"
#include "PaintTestSupport.h"

using namespace painttest;

// The stamps take shortcuts for the default kernel and for three-byte
// B, G, R pixels; these cases hold them to the general path's bytes.

namespace {

// blendScl through another pointer: the stamps then call the kernel.
uint8_t sclThroughPointer(uint8_t s, uint8_t w, uint8_t d, uint8_t a)
{
    return blendScl(s, w, d, a);
}

uint8_t weightAsAlpha(uint8_t x, uint8_t)
{
    return x;
}

// Pixel memory of one format, filled with the same colours for any format.
struct TestImage {
    TestImage(int w, int h, int format, int bytes)
        : memory(static_cast<size_t>(w * bytes + 3) * h),
          image(w, h, memory.data(), static_cast<uint32_t>(w * bytes + 3), format)
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.setPixel(x, y, rgb(x * 29 + y * 7, x * 3 + y * 41, (x * y * 13) & 255));
    }
    std::vector<uint8_t> memory;
    Image image;
};

std::vector<int> colours(const Image& image)
{
    std::vector<int> out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const Pixel p = image.getPixel(x, y);
            out.insert(out.end(), {p.r, p.g, p.b});
        }
    return out;
}

void makeMask(BrushTip& tip)
{
    tip.mask.resize(7, 5);
    for (int i = 0; i < 35; ++i)
        tip.mask.bytes()[i] = static_cast<uint8_t>(i % 4 == 0 ? 0 : i * 37);
    tip.setBrightness(1.1f);
}

// Two tips of the same mask, width cells by 3 with some cells 0, at
// brightness 1: one with the default kernel, which stamps whole rows, one
// calling the same kernel per cell.
void makeRowAndCellTips(BrushTip& rows, BrushTip& cells, int width)
{
    for (BrushTip* tip : {&rows, &cells}) {
        tip->mask.resize(width, 3);
        for (int i = 0; i < width * 3; ++i)
            tip->mask.bytes()[i] = static_cast<uint8_t>(i % 5 == 1 ? 0 : 255 - i * 23);
        tip->setBrightness(1.0f);
    }
    rows.blendKernel = &blendScl;
    cells.blendKernel = &sclThroughPointer;
}

const Point kCentres[] = {Point(4, 3), Point(0, 0), Point(11, 8), Point(-3, 2), Point(6, 9)};

} // namespace

// The fast paths' inline step and the kernel must agree on every byte
// triple; the destination alpha plays no part.
TEST(StampPaths, DefaultBlendIsTheKernelForEveryByte)
{
    int differing = 0;
    for (int s = 0; s < 256; ++s)
        for (int w = 0; w < 256; ++w)
            for (int d = 0; d < 256; ++d) {
                const uint8_t a = uint8_t(s ^ w ^ d);
                if (defaultBlend(s, w, d) != blendScl(uint8_t(s), uint8_t(w), uint8_t(d), a))
                    ++differing;
            }
    EXPECT_EQ(differing, 0);
}

TEST(StampPaths, ColourStampAgreesAcrossLayoutsAndKernels)
{
    TestImage bgr(12, 9, 4, 3), bgra(12, 9, 6, 4);
    ColorPointTip fast, slow;
    makeMask(fast);
    makeMask(slow);
    fast.blendKernel = &blendScl;
    slow.blendKernel = &sclThroughPointer;
    for (const Point& c : kCentres) {
        fast.color = slow.color = rgb(c.x * 20 + 40, 200, c.y * 9);
        fast.stampColor(bgr.image, c);
        slow.stampColor(bgra.image, c);
    }
    EXPECT_EQ(colours(bgra.image), colours(bgr.image));
}

TEST(StampPaths, CopyStampAgreesAcrossLayoutsAndKernels)
{
    TestImage bgr(12, 9, 4, 3), bgra(12, 9, 6, 4);
    ImageCopyTip fast, slow;
    makeMask(fast);
    makeMask(slow);
    fast.blendKernel = &blendScl;
    slow.blendKernel = &sclThroughPointer;
    fast.source = &bgr.image;
    slow.source = &bgra.image;
    // Source on either side, so every walk direction smears.
    for (const Point& c : kCentres) {
        const Point from(c.x + 2, c.y - 1), to(c.x - 1, c.y + 2);
        fast.stamp(bgr.image, c, from);
        slow.stamp(bgra.image, c, from);
        fast.stamp(bgr.image, c, to);
        slow.stamp(bgra.image, c, to);
    }
    EXPECT_EQ(colours(bgra.image), colours(bgr.image));
}

TEST(StampPaths, AlphaRowWrittenByHandStillCounts)
{
    GuardedImage image(7, 5);
    ColorPointTip tip;
    makeMask(tip);
    tip.compositeKernel = &weightAsAlpha;
    tip.stampColor(image.image, Point(3, 2));
    EXPECT_EQ(255, image.at(1, 0).a); // the constant row: opaque

    for (int i = 0; i < 256; ++i)
        tip.brightness[3][i] = static_cast<uint8_t>(i);
    tip.brightnessChanged();
    tip.stampColor(image.image, Point(3, 2));
    EXPECT_EQ(37, image.at(1, 0).a); // the mask weight, through the kernel
    EXPECT_EQ(0, image.at(0, 0).a);  // a zero cell is left alone
    EXPECT_TRUE(image.guardsIntact());
}

// Brightness 1 with the default kernel stamps whole rows at once; every row
// width from one cell up, each layout, clipped at every edge, must give the
// bytes of the kernel called per cell.
TEST(StampPaths, RowStampAgreesWithCellStampAtEveryWidth)
{
    for (int format : {4, 5, 6, 7}) {
        SCOPED_TRACE(format);
        const int bytes = format <= 5 ? 3 : 4;
        for (int width = 1; width <= 11; ++width) {
            TestImage fast(13, 9, format, bytes), slow(13, 9, format, bytes);
            ColorPointTip rows, cells;
            makeRowAndCellTips(rows, cells, width);
            for (const Point& c : kCentres) {
                rows.color = cells.color = rgb(c.x * 20 + 40, 255 - c.y * 9, c.y * 25);
                rows.stampColor(fast.image, c);
                cells.stampColor(slow.image, c);
            }
            EXPECT_EQ(fast.memory, slow.memory) << "width " << width;
        }
    }
}

// The copy stamp's rows go by SSE2 lanes where the source needs no pulling
// in and no cell reads what an earlier cell of its group has just written.
// Every source offset within and beyond a group's reach, walking either way,
// every row width, each layout and patches over every edge must give the
// bytes of the kernel called per cell, the padding after each row untouched.
TEST(StampPaths, CopyRowAgreesWithCellCopyAtEveryOffset)
{
    for (int format : {4, 5, 6, 7}) {
        SCOPED_TRACE(format);
        const int bytes = format <= 5 ? 3 : 4;
        for (int width = 1; width <= 11; ++width) {
            TestImage fast(13, 9, format, bytes), slow(13, 9, format, bytes);
            TestImage otherFast(13, 9, format, bytes), otherSlow(13, 9, format, bytes);
            ImageCopyTip rows, cells;
            makeRowAndCellTips(rows, cells, width);
            for (const Point& c : kCentres)
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -6; dx <= 6; ++dx) {
                        const Point from(c.x + dx, c.y + dy);
                        rows.source = &fast.image;
                        cells.source = &slow.image;
                        rows.stamp(fast.image, c, from);
                        cells.stamp(slow.image, c, from);
                        // A source of its own: nothing smears.
                        rows.stamp(otherFast.image, from, c);
                        cells.stamp(otherSlow.image, from, c);
                    }
            EXPECT_EQ(fast.memory, slow.memory) << "width " << width;
            EXPECT_EQ(otherFast.memory, otherSlow.memory) << "width " << width;
        }
    }
}
