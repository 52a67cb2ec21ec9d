#include <gtest/gtest.h>

#include "foundation/PropertyBag.h"
#include "shell/filters/BoxBlurFilter.h"
#include "shell/filters/GaussianBlurFilter.h"
#include "shell/filters/UnsharpCombineFilter.h"
#include "shell/filters/UnsharpMaskFilter.h"
#include "shell/AllocationFault.h"
#include "shell/ShellFilterSupport.h"

using namespace shelltest;

namespace {

// The straightforward form: horizontal pass into the destination, then the
// vertical pass column by column through two scratch columns.
void referenceConvolve(const Image& source, Image& destination, const uint16_t* wx, int nx,
                       const uint16_t* wy, int ny)
{
    const int w = source.width(), h = source.height(), bpp = int(source.step());
    uint32_t sx = 0, sy = 0;
    for (int k = 0; k < nx; ++k) sx += wx[k];
    for (int k = 0; k < ny; ++k) sy += wy[k];
    for (int y = 0; y < h; ++y)
        for (int c = 0; c < bpp; ++c)
            for (int x = 0; x < w; ++x) {
                uint32_t acc = 0;
                for (int k = 0; k < nx; ++k) {
                    int xx = x + k - nx / 2;
                    xx = xx < 0 ? 0 : (xx >= w ? w - 1 : xx);
                    acc += source.pixelAddress(xx, y)[c] * uint32_t(wx[k]);
                }
                destination.pixelAddress(x, y)[c] = uint8_t(acc / sx);
            }
    std::vector<uint8_t> column(size_t(h) * bpp), result(size_t(h) * bpp);
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y)
            std::memcpy(&column[size_t(y) * bpp], destination.pixelAddress(x, y), bpp);
        for (int c = 0; c < bpp; ++c)
            for (int y = 0; y < h; ++y) {
                uint32_t acc = 0;
                for (int k = 0; k < ny; ++k) {
                    int yy = y + k - ny / 2;
                    yy = yy < 0 ? 0 : (yy >= h ? h - 1 : yy);
                    acc += column[size_t(yy) * bpp + c] * uint32_t(wy[k]);
                }
                result[size_t(y) * bpp + c] = uint8_t(acc / sy);
            }
        for (int y = 0; y < h; ++y)
            std::memcpy(destination.pixelAddress(x, y), &result[size_t(y) * bpp], bpp);
    }
}

std::vector<uint16_t> gaussian(float radius)
{
    std::vector<uint16_t> w(kMaxKernelLength);
    w.resize(size_t(buildGaussianKernel(radius, radius * 0.5f, w.data(), 4096.0)));
    return w;
}

} // namespace

TEST(GaussianKernel, WorkedExamples)
{
    EXPECT_EQ(gaussian(2.0f), (std::vector<uint16_t>{75, 1507, 4096, 1507, 75}));
    EXPECT_EQ(gaussian(1.0f), (std::vector<uint16_t>{75, 4096, 75}));
    const std::vector<uint16_t> wide = gaussian(30.0f);
    ASSERT_EQ(wide.size(), 61u);
    EXPECT_EQ(wide.front(), 75);
    EXPECT_EQ(wide[30], 4096);
    // 2.5 rounds to 2 (ties to even): five taps.
    EXPECT_EQ(gaussian(2.5f).size(), 5u);
    // Radius 64 reaches 129 offsets: the kernel stops at 128 weights.
    EXPECT_EQ(gaussian(64.0f).size(), 128u);
    EXPECT_TRUE(gaussian(0.0f).empty());
}

TEST(SeparableConvolve, FastPathMatchesTheStraightforwardFormByteForByte)
{
    struct Case { int w, h, format; std::vector<uint16_t> kx, ky; };
    std::vector<uint16_t> box63(127, 1), even = gaussian(64.0f);
    const std::vector<Case> cases = {
        {37, 23, 4, gaussian(5.0f), gaussian(5.0f)},
        {64, 9, 6, gaussian(2.0f), gaussian(30.0f)},  // kernel taller than the image
        {1, 1, 6, gaussian(3.0f), gaussian(3.0f)},
        {5, 130, 2, box63, gaussian(1.0f)},
        {19, 17, 9, even, even},                      // five bytes, even lengths
        {33, 3, 4, {65535, 30000, 65535}, {40000, 1}}, // weights beyond 16-bit signed
    };
    for (const Case& c : cases) {
        OwnedBitmap source(c.w, c.h, c.format), fast(c.w, c.h, c.format), slow(c.w, c.h, c.format);
        fillPattern(source, unsigned(c.w * 31 + c.h));
        RecordingCallbacks callbacks;
        ASSERT_TRUE(separableConvolve(source, fast, c.kx.data(), int(c.kx.size()), c.ky.data(),
                                      int(c.ky.size()), callbacks));
        referenceConvolve(source, slow, c.kx.data(), int(c.kx.size()), c.ky.data(), int(c.ky.size()));
        EXPECT_TRUE(sameBytes(fast, slow)) << c.w << "x" << c.h << " format " << c.format;
    }
}

TEST(ExactDivider, EqualsIntegerDivisionOverTheWholeRange)
{
    for (uint32_t d : {1u, 3u, 5u, 7u, 127u, 7260u, 10151u, 65535u, 128u * 65535u}) {
        const ExactDivider divide(d);
        const uint32_t top = 255 * d;
        const uint32_t stride = d > 100000 ? 997 : 1;
        for (uint32_t n = 0; n <= top; n += stride)
            ASSERT_EQ(divide(n), n / d) << n << " / " << d;
        EXPECT_EQ(divide(top), 255u);
        EXPECT_EQ(divide(top - 1), 254u) << d;
    }
}

TEST(BlurFilters, WorkedExamples)
{
    PropertyBag two;
    two.setString("radius", "2");
    BoxBlurFilter box(two);
    RecordingCallbacks callbacks;

    // A white dot becomes a 5 x 5 square of 10 (255/5 = 51, 51/5 = 10).
    OwnedBitmap dot(9, 9, 4), out;
    fillUniform(dot, 0);
    std::memset(dot.pixelAddress(4, 4), 255, 3);
    ASSERT_TRUE(box.prepareDestination(dot, out));
    ASSERT_TRUE(box.apply(dot, out, callbacks));
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) {
            const bool inside = x >= 2 && x <= 6 && y >= 2 && y <= 6;
            EXPECT_EQ(out.pixelAddress(x, y)[1], inside ? 10 : 0) << x << "," << y;
        }

    // Uniform pictures stay; alpha is blurred like colour; 1 x 1 gives itself.
    OwnedBitmap flat(6, 4, 6), alpha(8, 1, 6), one(1, 1, 6), result;
    fillUniform(flat, 77);
    GaussianBlurFilter gauss(two);
    ASSERT_TRUE(gauss.prepareDestination(flat, result));
    ASSERT_TRUE(gauss.apply(flat, result, callbacks));
    EXPECT_TRUE(sameBytes(flat, result));
    fillUniform(alpha, 0);
    alpha.pixelAddress(4, 0)[3] = 255;
    ASSERT_TRUE(gauss.prepareDestination(alpha, result));
    ASSERT_TRUE(gauss.apply(alpha, result, callbacks));
    EXPECT_GT(result.pixelAddress(3, 0)[3], 0);
    EXPECT_EQ(result.pixelAddress(3, 0)[0], 0);
    fillPattern(one, 5);
    ASSERT_TRUE(gauss.prepareDestination(one, result));
    ASSERT_TRUE(gauss.apply(one, result, callbacks));
    EXPECT_TRUE(sameBytes(one, result));
}

TEST(BlurFilters, ParametersAreLimited)
{
    PropertyBag p;
    p.setString("radius", "64");
    p.setString("yradius", "64.5");
    GaussianBlurFilter g(p);
    EXPECT_EQ(g.xRadius(), 64.0f);
    EXPECT_EQ(g.yRadius(), 63.0f);
    p.setString("radius", "-3.7");
    p.setString("yradius", "2");
    BoxBlurFilter b(p);
    uint16_t w[kMaxKernelLength];
    EXPECT_EQ(b.kernelX(w), 127); // negative radius -> 63
    EXPECT_EQ(b.kernelY(w), 5);
}

TEST(BlurFilters, ZeroRadiusFailsCleanly)
{
    PropertyBag p;
    p.setString("radius", "0");
    GaussianBlurFilter g(p);
    OwnedBitmap source(4, 4, 4), out;
    fillPattern(source, 2);
    RecordingCallbacks callbacks;
    ASSERT_TRUE(g.prepareDestination(source, out));
    EXPECT_FALSE(g.apply(source, out, callbacks));
    EXPECT_TRUE(sameBytes(source, out)); // left as prepared
    // Mismatched destination.
    OwnedBitmap small(3, 4, 4);
    GaussianBlurFilter g2(2.0f, 2.0f);
    EXPECT_FALSE(g2.apply(source, small, callbacks));
}

TEST(BlurFilters, CancellationStopsTheRun)
{
    OwnedBitmap source(20, 40, 4), out;
    fillPattern(source, 3);
    GaussianBlurFilter g(3.0f, 3.0f);
    RecordingCallbacks stopper(2);
    ASSERT_TRUE(g.prepareDestination(source, out));
    EXPECT_FALSE(g.apply(source, out, stopper));
    EXPECT_EQ(stopper.reports.size(), 2u);
    RecordingCallbacks all;
    ASSERT_TRUE(g.apply(source, out, all));
    ASSERT_EQ(all.reports.size(), 5u);
    EXPECT_FLOAT_EQ(all.reports.back(), 1.0f);
}

TEST(BlurFilters, ScratchMemoryThatCannotBeHadRaisesTheMemoryException)
{
    OwnedBitmap source(40, 30, 4), out;
    fillPattern(source, 3);
    GaussianBlurFilter g(2.0f, 2.0f);
    RecordingCallbacks callbacks;
    ASSERT_TRUE(g.prepareDestination(source, out));
    EXPECT_TRUE(raisesMemoryExceptionWithoutMemory([&] { g.apply(source, out, callbacks); }));
    EXPECT_TRUE(g.apply(source, out, callbacks));
}

TEST(UnsharpMask, UniformStaysAndEdgesOvershootAndClamp)
{
    PropertyBag p;
    p.setString("radius", "2");
    p.setString("amount", "0.5");
    UnsharpMaskFilter sharpen(p);
    OwnedBitmap flat(7, 5, 4), out;
    fillUniform(flat, 90);
    RecordingCallbacks callbacks;
    ASSERT_TRUE(sharpen.prepareDestination(flat, out));
    ASSERT_TRUE(sharpen.apply(flat, out, callbacks));
    EXPECT_TRUE(sameBytes(flat, out));
    // Progress from 0 to 1 once for the blur and once for the combination.
    EXPECT_FLOAT_EQ(callbacks.reports.back(), 1.0f);

    OwnedBitmap edge(12, 2, 4);
    for (int x = 0; x < 12; ++x)
        for (int y = 0; y < 2; ++y)
            std::memset(edge.pixelAddress(x, y), x < 6 ? 10 : 250, 3);
    ASSERT_TRUE(sharpen.prepareDestination(edge, out));
    ASSERT_TRUE(sharpen.apply(edge, out, callbacks));
    EXPECT_EQ(out.pixelAddress(5, 0)[0], 0);
    EXPECT_EQ(out.pixelAddress(6, 0)[0], 255);
    EXPECT_EQ(out.pixelAddress(0, 0)[0], 10);
}

TEST(UnsharpMask, CombineMatchesTheByteFormula)
{
    for (float factor : {1.5f, 0.25f, 3.9f, 200.0f, -150.0f}) {
        OwnedBitmap source(21, 3, 4), blurred(21, 3, 4), out(21, 3, 4);
        fillPattern(source, 8);
        fillPattern(blurred, 9);
        out.copyFrom(blurred);
        UnsharpCombineFilter combine(factor);
        RecordingCallbacks callbacks;
        ASSERT_TRUE(combine.apply(source, out, callbacks));
        EXPECT_EQ(callbacks.reports.size(), 3u);
        const long long f = (long long)(factor * 256.0), g = 256 - f;
        for (int y = 0; y < 3; ++y)
            for (int i = 0; i < 63; ++i) {
                long long v = (source.row(y)[i] * f + blurred.row(y)[i] * g) >> 8;
                v = v < 0 ? 0 : (v > 255 ? 255 : v);
                ASSERT_EQ(out.row(y)[i], v) << factor << " " << i;
            }
    }
}
