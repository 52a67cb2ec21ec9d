#include <gtest/gtest.h>

#include "foundation/PropertyBag.h"
#include "shell/transforms/ResampleFilter.h"
#include "shell/transforms/TransformedRender.h"
#include "shell/AllocationFault.h"
#include "shell/ShellFilterSupport.h"

using namespace shelltest;

namespace {

bool resample(const Image& source, OwnedBitmap& out, int w, int h, float smooth,
              RenderCallbacks& callbacks)
{
    ResampleFilter filter(w, h, smooth);
    return filter.prepareDestination(source, out) && filter.apply(source, out, callbacks);
}

} // namespace

TEST(ResampleFilter, SmoothingZeroPicksOneSourcePixel)
{
    OwnedBitmap source(100, 50, 4), out;
    fillPattern(source, 11);
    RecordingCallbacks callbacks;
    ASSERT_TRUE(resample(source, out, 50, 25, 0.0f, callbacks));
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 50; ++x)
            ASSERT_EQ(0, std::memcmp(out.pixelAddress(x, y), source.pixelAddress(2 * x, 2 * y), 3));
    // Progress after every eighth row.
    EXPECT_EQ(callbacks.reports.size(), 3u);
}

TEST(ResampleFilter, UniformPicturesKeepTheirValueUpToTheBorders)
{
    // Dividing by the whole sample area darkened corners to 112 and edges to
    // 150, and truncation turned 200 into 199.
    OwnedBitmap source(37, 23, 6), out;
    fillUniform(source, 200);
    RecordingCallbacks callbacks;
    for (const int size : {37, 18, 5, 80, 1})
        for (const float smooth : {0.0f, 1.0f, 4.0f}) {
            ASSERT_TRUE(resample(source, out, size, size, smooth, callbacks));
            for (uint8_t b : bytesOf(out))
                ASSERT_EQ(b, 200) << size << " smoothing " << smooth;
        }
}

TEST(ResampleFilter, FastGridMatchesPlainSamplingByteForByte)
{
    struct Case { int sw, sh, dw, dh, format; float smooth; };
    const Case cases[] = {{64, 48, 32, 24, 4, 1.0f}, {63, 47, 31, 29, 6, 1.0f},
                          {40, 30, 97, 71, 4, 2.5f}, {50, 50, 50, 50, 6, 1.0f},
                          {33, 17, 7, 3, 4, 4.0f},   {20, 20, 13, 40, 6, 0.3f}};
    for (const Case& c : cases) {
        OwnedBitmap source(c.sw, c.sh, c.format), fast(c.dw, c.dh, c.format), plain(c.dw, c.dh, c.format);
        fillPattern(source, unsigned(c.sw + c.dw));
        const float sx = float(double(c.sw) / c.dw - 0.000001);
        const float sy = float(double(c.sh) / c.dh - 0.000001);
        RecordingCallbacks callbacks;
        ASSERT_TRUE(resample(source, fast, c.dw, c.dh, c.smooth, callbacks));
        ASSERT_TRUE(renderTransformedPlain(source, plain, Vec2(sx / 2, sy / 2), Vec2(sx, 0.0f),
                                           Vec2(0.0f, sy), sx * c.smooth, sy * c.smooth,
                                           AreaDivide::Covered, callbacks));
        EXPECT_TRUE(sameBytes(fast, plain)) << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh;
    }
}

TEST(ResampleFilter, ParametersRefusalsAndCancellation)
{
    PropertyBag p;
    p.setString("width", "10");
    p.setString("height", "20");
    p.setString("smooth", "9");
    ResampleFilter filter(p);
    EXPECT_EQ(filter.targetWidth(), 10);
    EXPECT_EQ(filter.smoothing(), 4.0f);
    EXPECT_EQ(ResampleFilter(1, 1, -2.0f).smoothing(), 0.0f);

    OwnedBitmap source(30, 40, 4), out, grey(10, 20, 2);
    fillPattern(source, 3);
    RecordingCallbacks callbacks;
    EXPECT_FALSE(ResampleFilter(0, 5, 1.0f).prepareDestination(source, out));
    EXPECT_FALSE(filter.apply(source, grey, callbacks)); // pixel steps differ
    RecordingCallbacks stop(1);
    ASSERT_TRUE(filter.prepareDestination(source, out));
    EXPECT_FALSE(filter.apply(source, out, stop));
}

TEST(ResampleFilter, ScratchMemoryThatCannotBeHadRaisesTheMemoryException)
{
    OwnedBitmap source(30, 40, 4), out;
    fillPattern(source, 8);
    ResampleFilter filter(17, 23, 1.0f);
    RecordingCallbacks callbacks;
    ASSERT_TRUE(filter.prepareDestination(source, out));
    EXPECT_TRUE(
        raisesMemoryExceptionWithoutMemory([&] { filter.apply(source, out, callbacks); }));
    EXPECT_TRUE(filter.apply(source, out, callbacks));
}
