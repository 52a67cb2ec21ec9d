#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "image/Image.h"
#include "image/MemoryBlock.h"
#include "image/PixelGenerator.h"

namespace {

// An image over its own zeroed buffer, rows padded to four bytes.
struct TestImage
{
    TestImage(int w, int h, int format)
        : stride(uint32_t((bytesPerPixelFor(format) * w + 3) & ~3)),
          memory(size_t(stride) * size_t(h) + 1, 0),
          image(w, h, memory.data(), stride, format)
    {
    }
    uint32_t stride;
    std::vector<uint8_t> memory;
    Image image;
};

uint32_t word(const Pixel& p)
{
    return p.word();
}

Pixel sampled(const Image& image, float x, float y)
{
    Pixel p(1, 2, 3, 4);
    image.sampleBilinear(p, x, y);
    return p;
}

// Records every sample position.
class RecordingSource : public PixelSource
{
public:
    void sample(Pixel& out, const float& x, const float& y) const override
    {
        xs.push_back(x);
        ys.push_back(y);
        out = Pixel(200, 100, 50, 255);
    }
    mutable std::vector<float> xs;
    mutable std::vector<float> ys;
};

} // namespace

TEST(PixelFormat, TableOfCodes)
{
    EXPECT_EQ(1, bytesPerPixelFor(2));
    EXPECT_EQ(3, bytesPerPixelFor(4));
    EXPECT_EQ(3, bytesPerPixelFor(5));
    EXPECT_EQ(4, bytesPerPixelFor(6));
    EXPECT_EQ(4, bytesPerPixelFor(7));
    EXPECT_EQ(5, bytesPerPixelFor(8));
    EXPECT_EQ(5, bytesPerPixelFor(9));
    for (int code : {-1, 0, 1, 3, 10, 32})
        EXPECT_EQ(0, bytesPerPixelFor(code));
    EXPECT_EQ(0, std::memcmp(channelLayoutFor(8), "\x02\x01\x00\x04\x03\xff", 6));
    EXPECT_EQ(0, std::memcmp(channelLayoutFor(7), "\x00\x01\x02\x03\xff", 5));
    EXPECT_EQ(0xFF, channelLayoutFor(3)[0]);
}

TEST(Pixel, WordOrderAndMixing)
{
    const Pixel p(0x11, 0x22, 0x33, 0x44);
    EXPECT_EQ(0x44112233u, word(p));
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&p);
    EXPECT_EQ(0x33, bytes[0]);
    EXPECT_EQ(0x44, bytes[3]);
    EXPECT_EQ(word(p), word(mixPixels(p, Pixel(), 0)));
    const Pixel m = mixPixelsMaxAlpha(Pixel(0, 0, 0, 200), Pixel(255, 255, 255, 10), 128);
    EXPECT_EQ(200, m.a);
    EXPECT_EQ(127, m.r);
}

TEST(Pixel, MixMatchesTheChannelFormulaEverywhere)
{
    // a + ((b - a) * w + 127) / 256 rounded toward minus infinity, for every
    // channel pair and weight, with the four channels carrying different
    // values so that borrows between them would show.
    int failures = 0;
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            const Pixel pa(uint8_t(a), uint8_t(255 - a), uint8_t(b), uint8_t(a ^ 0x5a));
            const Pixel pb(uint8_t(b), uint8_t(a), uint8_t(255 - b), uint8_t(b ^ 0xa5));
            for (int w = 1; w < 256; ++w) {
                const Pixel m = mixPixels(pa, pb, uint8_t(w));
                auto expect = [w](int x, int y) {
                    return x + int(std::floor(((y - x) * w + 127) / 256.0));
                };
                if (m.r != expect(pa.r, pb.r) || m.g != expect(pa.g, pb.g)
                    || m.b != expect(pa.b, pb.b) || m.a != expect(pa.a, pb.a))
                    ++failures;
            }
        }
    }
    EXPECT_EQ(0, failures);
}

TEST(Image, EveryFormatReadsAndWrites)
{
    const Pixel colour(10, 20, 30, 40);
    struct Case
    {
        int format;
        std::vector<uint8_t> bytes;
        Pixel readBack;
    };
    const Case cases[] = {
        {2, {30}, Pixel(30, 30, 30, 255)},
        {4, {30, 20, 10}, Pixel(10, 20, 30, 255)},
        {5, {10, 20, 30}, Pixel(10, 20, 30, 255)},
        {6, {30, 20, 10, 40}, Pixel(10, 20, 30, 40)},
        {7, {10, 20, 30, 40}, Pixel(10, 20, 30, 40)},
        {8, {30, 20, 10, 0, 40}, Pixel(10, 20, 30, 40)},
        {9, {10, 20, 30, 0, 40}, Pixel(10, 20, 30, 40)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        TestImage t(3, 2, c.format);
        EXPECT_EQ(uint32_t(c.bytes.size()), t.image.step());
        t.image.setPixel(1, 1, colour);
        const uint8_t* at = t.memory.data() + t.stride + c.bytes.size();
        EXPECT_EQ(0, std::memcmp(at, c.bytes.data(), c.bytes.size()));
        EXPECT_EQ(word(c.readBack), word(t.image.getPixel(1, 1)));
        EXPECT_EQ(0u, word(t.image.getPixel(0, 1)) & 0x00FFFFFFu);
    }
}

TEST(Image, TheBgrPixelPathIsTheGeneralOneForBgrOnly)
{
    for (int format : {2, 4, 5, 6, 7, 8, 9}) {
        TestImage t(1, 1, format);
        EXPECT_EQ(format == kFormatBgr, t.image.pixelLayout().isBgr()) << format;
    }
    TestImage general(1, 1, kFormatBgr), bgr(1, 1, kFormatBgr);
    const PixelLayout layout = general.image.pixelLayout();
    for (const Pixel& p : {Pixel(1, 2, 3, 4), Pixel(255, 0, 128, 0), Pixel(7, 8, 9, 255)}) {
        layout.store(general.image.pixelAddress(0, 0), p);
        layout.storeAs<true>(bgr.image.pixelAddress(0, 0), p);
        EXPECT_EQ(general.memory, bgr.memory);
        EXPECT_EQ(word(layout.load(general.image.pixelAddress(0, 0))),
                  word(layout.loadAs<true>(bgr.image.pixelAddress(0, 0))));
    }
}

TEST(Image, ChannelsAndUnlistedFormats)
{
    TestImage t(2, 2, 4);
    t.image.setPixel(0, 0, Pixel(1, 2, 3, 4));
    EXPECT_EQ(1, t.image.channel(0, 0, kChannelR));
    EXPECT_EQ(3, t.image.channel(0, 0, kChannelB));
    EXPECT_EQ(-1, t.image.channel(0, 0, kChannelA));
    EXPECT_EQ(-1, t.image.channel(0, 0, 8));
    t.image.setChannel(0, 0, kChannelG, 99);
    t.image.setChannel(0, 0, kChannelA, 99);
    EXPECT_EQ(word(Pixel(1, 99, 3, 255)), word(t.image.getPixel(0, 0)));

    uint8_t memory[16] = {};
    Image odd(2, 2, memory, 8, 3);
    EXPECT_EQ(0u, odd.step());
    for (int i = 0; i < kChannelLayoutSize; ++i)
        EXPECT_EQ(0xFF, odd.channelLayout()[i]);
    uint8_t layout[] = {2, 1, 0, 0xFF, 7};
    EXPECT_EQ(3, odd.setChannelLayoutFrom(layout));
    EXPECT_EQ(0xFF, odd.channelLayout()[4]);
}

TEST(Image, RowTableFollowsAttach)
{
    TestImage t(3, 4, 6);
    uint8_t* const* rows = t.image.rowTable();
    ASSERT_NE(nullptr, rows);
    EXPECT_EQ(t.memory.data() + 3 * t.stride, rows[3]);
    std::vector<uint8_t> other(64);
    t.image.attach(2, 2, other.data(), 32, 4);
    EXPECT_EQ(other.data() + 32, t.image.rowTable()[1]);
    EXPECT_EQ(other.data() + 32 + 3, t.image.pixelAddress(1, 1));
    EXPECT_EQ(4, t.image.format());
    EXPECT_EQ(3u, t.image.step());
    Image empty;
    EXPECT_EQ(nullptr, empty.rowTable());
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_FALSE(empty.create(2, 2, 6));
    EXPECT_FALSE(empty.createWithDepth(2, 2, 4));
    const Rect b = t.image.bounds();
    EXPECT_EQ(2, b.right);
    EXPECT_EQ(2, b.bottom);
}

TEST(Image, BorderRuleAndClamp)
{
    TestImage t(2, 2, 6);
    t.image.setPixel(0, 0, Pixel(9, 8, 7, 6));
    Pixel p(1, 1, 1, 1);
    t.image.getPixelAt(p, -1, 0);
    EXPECT_EQ(0u, word(p));
    t.image.setBorderColor(Pixel(5, 5, 5, 5));
    t.image.getPixelAt(p, 0, 2);
    EXPECT_EQ(word(Pixel(5, 5, 5, 5)), word(p));
    t.image.setClampToEdge(true);
    t.image.getPixelAt(p, -1, -7);
    EXPECT_EQ(word(Pixel(9, 8, 7, 6)), word(p));
    Image empty;
    empty.setClampToEdge(true);
    empty.getPixelAt(p, 0, 0);
    EXPECT_EQ(0u, word(p));
    EXPECT_EQ(0, t.image.clampX(-3));
    EXPECT_EQ(1, t.image.clampX(9));
    EXPECT_EQ(0, empty.clampY(5));
    t.image.setPixelChecked(2, 0, Pixel(1, 1, 1, 1));
    t.image.setPixelIfInside(-1, 0, Pixel(1, 1, 1, 1));
    empty.setPixelChecked(0, 0, Pixel(1, 1, 1, 1));
    EXPECT_EQ(0, t.memory[t.memory.size() - 1]);
}

TEST(Image, BlendPixel)
{
    TestImage t(2, 1, 6);
    t.image.setPixel(0, 0, Pixel(0, 0, 0, 100));
    t.image.blendPixel(0, 0, Pixel(255, 255, 255, 0));
    EXPECT_EQ(word(Pixel(0, 0, 0, 100)), word(t.image.getPixel(0, 0)));
    t.image.blendPixel(0, 0, Pixel(255, 128, 0, 255));
    EXPECT_EQ(word(Pixel(254, 127, 0, 255)), word(t.image.getPixel(0, 0)));
    t.image.setPixel(1, 0, Pixel(0, 0, 0, 200));
    t.image.blendPixel(1, 0, Pixel(255, 255, 255, 128));
    EXPECT_EQ(word(Pixel(127, 127, 127, 200)), word(t.image.getPixel(1, 0)));
    t.image.blendPixel(2, 0, Pixel(255, 255, 255, 255));
    t.image.blendPixel(0, -1, Pixel(255, 255, 255, 255));
    TestImage bgr(1, 1, 4);
    bgr.image.blendPixel(0, 0, Pixel(255, 255, 255, 255));
    EXPECT_EQ(word(Pixel(254, 254, 254, 255)), word(bgr.image.getPixel(0, 0)));
}

TEST(Image, Spans)
{
    const uint8_t rgb[] = {1, 2, 3, 4, 5, 6};
    TestImage bgr(3, 1, 4);
    EXPECT_TRUE(bgr.image.writeSpan(1, 0, 2, rgb, 5));
    EXPECT_EQ(0, std::memcmp(bgr.memory.data() + 3, "\x03\x02\x01\x06\x05\x04", 6));
    TestImage bgra(2, 1, 6);
    EXPECT_TRUE(bgra.image.writeRow(0, rgb, 5));
    EXPECT_EQ(word(Pixel(4, 5, 6, 255)), word(bgra.image.getPixel(1, 0)));
    const uint8_t same[] = {9, 8, 7, 6};
    EXPECT_TRUE(bgra.image.writeSpan(0, 0, 1, same, 6));
    EXPECT_EQ(word(Pixel(7, 8, 9, 6)), word(bgra.image.getPixel(0, 0)));

    TestImage rgba(2, 1, 7);
    EXPECT_FALSE(rgba.image.writeSpan(0, 0, 2, rgb, 5));
    EXPECT_EQ(0, rgba.memory[0]);
    // Spans that leave the image are refused.
    EXPECT_FALSE(bgr.image.writeSpan(2, 0, 2, rgb, 5));
    EXPECT_FALSE(bgr.image.writeSpan(-1, 0, 1, rgb, 5));
    EXPECT_FALSE(bgr.image.writeSpan(0, 1, 1, rgb, 5));
    Image empty;
    EXPECT_FALSE(empty.writeSpan(0, 0, 0, rgb, 0));

    uint8_t out[6] = {};
    EXPECT_TRUE(bgra.image.readSpanRgb(0, 0, 2, out, 5));
    EXPECT_EQ(0, std::memcmp(out, "\x07\x08\x09\x04\x05\x06", 6));
    EXPECT_FALSE(bgra.image.readSpanRgb(0, 0, 2, out, 4));
    EXPECT_FALSE(rgba.image.readSpanRgb(0, 0, 2, out, 5));
    EXPECT_FALSE(bgra.image.readSpanRgb(1, 0, 2, out, 5));

    const Pixel paint[] = {Pixel(255, 255, 255, 128), Pixel(0, 0, 0, 0)};
    TestImage target(2, 1, 6);
    target.image.setPixel(1, 0, Pixel(50, 60, 70, 80));
    EXPECT_TRUE(target.image.blendSpan(0, 0, 2, paint));
    EXPECT_EQ(word(Pixel(127, 127, 127, 64)), word(target.image.getPixel(0, 0)));
    EXPECT_EQ(word(Pixel(50, 60, 70, 80)), word(target.image.getPixel(1, 0)));
    TestImage target4(1, 1, 4);
    EXPECT_TRUE(target4.image.blendSpan(0, 0, 1, paint));
    EXPECT_EQ(word(Pixel(127, 127, 127, 255)), word(target4.image.getPixel(0, 0)));
    EXPECT_FALSE(rgba.image.blendSpan(0, 0, 1, paint));
    EXPECT_FALSE(target.image.blendSpan(1, 0, 2, paint));
}

TEST(Image, BilinearSamplingTiesAndCells)
{
    TestImage t(4, 3, 6);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            t.image.setPixel(x, y, Pixel(uint8_t(x * 80), uint8_t(y * 100), 7, 255));
    // Even whole coordinates give the pixel itself.
    EXPECT_EQ(word(t.image.getPixel(2, 2)), word(sampled(t.image, 2.0f, 2.0f)));
    EXPECT_EQ(word(t.image.getPixel(0, 0)), word(sampled(t.image, 0.0f, 0.0f)));
    // An odd whole x rounds the cell down to x - 1 with the weight 255,
    // which stops one short of a full step.
    TestImage ramp(2, 1, 6);
    ramp.image.setPixel(1, 0, Pixel(255, 0, 0, 255));
    EXPECT_EQ(254, sampled(ramp.image, 1.0f, 0.0f).r);
    EXPECT_EQ(255, sampled(ramp.image, 1.5f, 0.0f).r);
    EXPECT_EQ(127, sampled(ramp.image, 0.5f, 0.0f).r);
    // Half way: weight 127.
    EXPECT_EQ(80 + ((80 * 127 + 127) >> 8), sampled(t.image, 1.5f, 0.0f).r);
    EXPECT_EQ(100 + ((100 * 127 + 127) >> 8), sampled(t.image, 0.0f, 1.5f).g);
    // Outside cells give 0; the border colour is not used.
    t.image.setBorderColor(Pixel(1, 1, 1, 1));
    EXPECT_EQ(0u, word(sampled(t.image, -1.5f, 0.3f)));
    EXPECT_EQ(0u, word(sampled(t.image, 0.3f, -1.6f)));
    EXPECT_EQ(0u, word(sampled(t.image, 4.5f, 0.0f)));
    EXPECT_EQ(0u, word(sampled(t.image, 0.0f, 3.5f)));
    // Column 0 only to the left of the image.
    const Pixel left = sampled(t.image, -0.5f, 0.5f);
    EXPECT_EQ(0, left.r);
    EXPECT_EQ(50, left.g);
    EXPECT_EQ(word(t.image.getPixel(0, 0)), word(sampled(t.image, -0.5f, -0.5f)));
    // Last column and last row fall back to one direction.
    EXPECT_EQ(240, sampled(t.image, 3.5f, 0.5f).r);
    EXPECT_EQ(200, sampled(t.image, 0.5f, 2.5f).g);
    EXPECT_EQ(word(t.image.getPixel(3, 2)), word(sampled(t.image, 3.5f, 2.5f)));
    EXPECT_EQ(word(t.image.getPixel(3, 0)), word(sampled(t.image, 3.5f, -0.5f)));
    EXPECT_EQ(word(t.image.getPixel(0, 2)), word(sampled(t.image, -0.5f, 2.5f)));
}

TEST(Image, BilinearSamplingNeverReadsOutside)
{
    Image empty;
    EXPECT_EQ(0u, word(sampled(empty, 0.0f, 0.0f)));
    uint8_t byte = 0;
    Image noBits(5, 5, nullptr, 20, 6);
    EXPECT_EQ(0u, word(sampled(noBits, 1.0f, 1.0f)));
    TestImage t(2, 2, 6);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    sampled(t.image, nan, nan);
    EXPECT_EQ(0u, word(sampled(t.image, inf, 0.0f)));
    EXPECT_EQ(0u, word(sampled(t.image, -inf, 0.0f)));
    EXPECT_EQ(0u, word(sampled(t.image, 3e9f, 3e9f)));
    empty.sampleChannelBilinear(byte, 0.0f, 0.0f, 0);
    EXPECT_EQ(0, byte);
    Pixel p(1, 1, 1, 1);
    empty.sampleSmoothed(p, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(0u, word(p));
}

TEST(Image, ChannelSamplingClampsIntoTheImage)
{
    TestImage t(2, 1, 4);
    t.image.setPixel(0, 0, Pixel(0, 0, 0, 0));
    t.image.setPixel(1, 0, Pixel(100, 0, 0, 0));
    uint8_t v = 0;
    t.image.sampleChannelBilinear(v, 0.5f, 0.0f, kChannelR);
    EXPECT_EQ(50, v);
    t.image.sampleChannelBilinear(v, 0.25f, 0.0f, kChannelR);
    EXPECT_EQ(25, v);
    t.image.sampleChannelBilinear(v, -10.0f, -10.0f, kChannelR);
    EXPECT_EQ(0, v);
    t.image.sampleChannelBilinear(v, 10.0f, 10.0f, kChannelR);
    EXPECT_EQ(100, v);
    t.image.sampleChannelBilinear(v, 0.5f, 0.0f, kChannelA);
    EXPECT_EQ(255, v);
}

TEST(Image, SmoothedSampling)
{
    TestImage t(3, 3, 6);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            t.image.setPixel(x, y, Pixel(60, 70, 80, 255));
    t.image.setPixel(1, 1, Pixel(180, 70, 80, 255));
    Pixel p;
    t.image.sampleSmoothed(p, 1.0f, 1.0f, 2.0f);
    // avg(C, avg(avg(S, N), avg(W, E))) with averages rounded down: C 180,
    // N and E 60, S and W outside the image 0 -> (180 + 30) / 2.
    EXPECT_EQ(105, p.r);
    t.image.sampleSmoothed(p, 3.6f, 1.0f, 1.0f);
    EXPECT_EQ(0u, word(p));
}

TEST(Image, CopyFromSourceSkipsTheClippedStart)
{
    TestImage t(4, 2, 6);
    RecordingSource source;
    t.image.copyFromSource(-2, 1, 4, source, 0, 10.0f, 20.0f, Vec2(1.0f, 0.5f));
    ASSERT_EQ(2u, source.xs.size());
    EXPECT_EQ(12.0f, source.xs[0]);
    EXPECT_EQ(21.0f, source.ys[0]);
    EXPECT_EQ(13.0f, source.xs[1]);
    EXPECT_EQ(word(Pixel(199, 100, 50, 255)), word(t.image.getPixel(1, 1)));
    EXPECT_EQ(0u, word(t.image.getPixel(2, 1)));
    source.xs.clear();
    t.image.copyFromSource(3, 0, 5, source, 0, 0.0f, 0.0f, Vec2(1.0f, 0.0f));
    EXPECT_EQ(1u, source.xs.size());
}

TEST(Image, RenderScaledAndCopies)
{
    TestImage t(3, 2, 6);
    RecordingSource source;
    t.image.renderScaled(source, -1, 0, 2, 5, 0.0f, 0.0f, 6.0f, 10.0f);
    // Columns 0 and 1 of rows 0 and 1: dx 2, dy 2, column -1 stepped over.
    ASSERT_EQ(4u, source.xs.size());
    EXPECT_EQ(2.0f, source.xs[0]);
    EXPECT_EQ(4.0f, source.xs[1]);
    EXPECT_EQ(2.0f, source.ys[2]);

    TestImage from(2, 2, 6);
    from.image.setPixel(1, 1, Pixel(1, 2, 3, 4));
    from.image.setBorderColor(Pixel(9, 9, 9, 9));
    t.image.copyRect(from.image, -5, -5, 50, 50);
    EXPECT_EQ(word(Pixel(1, 2, 3, 4)), word(t.image.getPixel(1, 1)));
    EXPECT_EQ(word(Pixel(9, 9, 9, 9)), word(t.image.getPixel(2, 1)));

    // Clipped to the smaller source too: nothing is read outside it.
    TestImage wide(3, 2, 6);
    wide.image.setPixel(2, 1, Pixel(7, 7, 7, 7));
    wide.image.copyPixels(from.image, 0, 0, 3, 2);
    EXPECT_EQ(word(Pixel(1, 2, 3, 4)), word(wide.image.getPixel(1, 1)));
    EXPECT_EQ(word(Pixel(7, 7, 7, 7)), word(wide.image.getPixel(2, 1)));
}

TEST(Image, GeneratorsAndScratchMemory)
{
    TestImage t(2, 2, 4);
    t.image.setPixel(1, 0, Pixel(4, 5, 6, 7));
    ImagePixelGenerator generator;
    Pixel p;
    generator.pixel(p, t.image, 1, 0);
    EXPECT_EQ(word(Pixel(4, 5, 6, 255)), word(p));
    MemoryBlock block;
    block.allocate(7);
    ASSERT_EQ(7u, block.size());
    for (size_t i = 0; i < block.size(); ++i)
        EXPECT_EQ(0, block.data()[i]);
    block.allocate(0);
    EXPECT_EQ(nullptr, block.data());
}
