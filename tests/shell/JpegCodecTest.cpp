#include "image/ByteMutations.h"
#include "JpegFileBuilders.h"
#include "ShellTestSupport.h"
#include "image/RecordingBitmap.h"

#include "foundation/FixedBufferReader.h"
#include "image/OwnedBitmap.h"
#include "shell/files/JpegCodec.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

namespace {

bool decode(Image& image, const Bytes& data, bool sized = true)
{
    FixedBufferReader reader(data.data(), unsigned(data.size()));
    return sized ? readJpeg(image, reader, unsigned(data.size())) : readJpeg(image, reader);
}

void fillJpegPattern(Image& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, Pixel(jpegPatternSample(x, y, 0), jpegPatternSample(x, y, 1),
                                       jpegPatternSample(x, y, 2), uint8_t(x * 7 + y)));
}

// Mean and largest difference from the builders' pattern over R, G and B (or
// the grey channel).
void expectNearPattern(const Image& image, int width, int height, int components, double meanLimit,
                       int maxLimit, const std::string& what)
{
    ASSERT_EQ(width, image.width()) << what;
    ASSERT_EQ(height, image.height()) << what;
    ASSERT_EQ(components == 1 ? 2 : 4, image.format()) << what;
    double total = 0;
    int largest = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = image.pixelAddress(x, y);
            for (int c = 0; c < components; ++c) {
                // B,G,R memory order: channel c (R, G, B) sits at 2 - c.
                const int got = components == 1 ? p[0] : p[2 - c];
                const int diff = std::abs(got - jpegPatternSample(x, y, c));
                total += diff;
                largest = std::max(largest, diff);
            }
        }
    EXPECT_LE(total / (double(width) * height * components), meanLimit) << what;
    EXPECT_LE(largest, maxLimit) << what;
}

Bytes withByte(const Bytes& data, size_t at, uint8_t value)
{
    Bytes out = data;
    out[at] = value;
    return out;
}

size_t sofOffset(const Bytes& jpeg)
{
    for (size_t at : jpegMarkerOffsets(jpeg))
        if (jpeg[at + 1] >= 0xC0 && jpeg[at + 1] <= 0xCB && jpeg[at + 1] != 0xC4 && jpeg[at + 1] != 0xC8)
            return at;
    return 0;
}

Bytes withSize(const Bytes& jpeg, unsigned width, unsigned height)
{
    Bytes out = jpeg;
    const size_t sof = sofOffset(jpeg);
    out[sof + 5] = uint8_t(height >> 8);
    out[sof + 6] = uint8_t(height);
    out[sof + 7] = uint8_t(width >> 8);
    out[sof + 8] = uint8_t(width);
    return out;
}

int corpusCount = 0;

// The header's own size bounds what a refused file may allocate. The bound
// from the amount of data holds only when the size is known (files).
void expectRefused(const Bytes& data, const std::string& what, bool sizeNeeded = false)
{
    const uint64_t allowed = 64 * 64 * 3;
    ++corpusCount;
    for (bool sized : {true, false}) {
        if (!sized && sizeNeeded) {
            RecordingBitmap image;
            EXPECT_FALSE(decode(image, data, false)) << what << ", size unknown";
            continue;
        }
        RecordingBitmap image;
        EXPECT_FALSE(decode(image, data, sized)) << what << (sized ? "" : ", size unknown");
        EXPECT_LE(image.largest, allowed) << what;
    }
}

JpegSpec shape(int width, int height, int components, bool progressive = false, bool arithmetic = false,
              int restartRows = 0)
{
    JpegSpec s;
    s.width = width;
    s.height = height;
    s.components = components;
    s.progressive = progressive;
    s.arithmetic = arithmetic;
    s.restartRows = restartRows;
    return s;
}

} // namespace

TEST(JpegCodec, WritesWhatLibjpegWritesFromTheSamePixels)
{
    // The B,G,R(,A) rows go in without a conversion of ours: the bytes must
    // equal libjpeg's own from R,G,B rows, at odd sizes and both depths.
    for (int format : {4, 6})
        for (int quality : {1, 50, 80, 99, 100})
            for (auto size : {std::make_pair(1, 1), std::make_pair(7, 5), std::make_pair(333, 211)}) {
                OwnedBitmap image(size.first, size.second, format);
                fillJpegPattern(image);
                MemorySink sink;
                ASSERT_TRUE(writeJpeg(image, sink, quality));
                JpegSpec expected = shape(size.first, size.second, 3);
                expected.quality = quality;
                EXPECT_TRUE(sink.data == makeJpeg(expected)) << format << " q" << quality << " " << size.first;
                OwnedBitmap back;
                ASSERT_TRUE(decode(back, sink.data));
                if (quality >= 80)
                    expectNearPattern(back, size.first, size.second, 3, 2.5, 40, "round trip");
            }
}

TEST(JpegCodec, ReadsEveryKindOfEightBitFile)
{
    struct Case
    {
        JpegSpec layout;
        const char* what;
    };
    JpegSpec full = shape(97, 61, 3);
    full.subsampled = false;
    full.quality = 98;
    JpegSpec rgb = full;
    rgb.storeRgb = true;
    const Case cases[] = {
        {shape(97, 61, 3), "baseline 4:2:0"},
        {full, "baseline 4:4:4"},
        {rgb, "R,G,B colour space"},
        {shape(97, 61, 3, true), "progressive"},
        {shape(97, 61, 3, false, true), "arithmetic"},
        {shape(97, 61, 3, true, true), "progressive arithmetic"},
        {shape(97, 61, 3, false, false, 1), "restart every row"},
        {shape(97, 61, 1), "grey"},
        {shape(97, 61, 1, true), "grey progressive"},
        {shape(1, 1, 3), "one pixel"},
    };
    for (const Case& c : cases) {
        RecordingBitmap image;
        ASSERT_TRUE(decode(image, makeJpeg(c.layout))) << c.what;
        expectNearPattern(image, c.layout.width, c.layout.height, c.layout.components, 2.5, 40, c.what);
        EXPECT_EQ(uint64_t(image.stride()) * image.height(), image.largest) << c.what;
    }
}

TEST(JpegCodec, RefusesWhatItCannotStore)
{
    RecordingBitmap image;
    EXPECT_FALSE(decode(image, makeJpeg(shape(16, 16, 4)))) << "CMYK";
    const Bytes valid = makeJpeg(shape(16, 16, 3));
    const size_t sof = sofOffset(valid);
    EXPECT_FALSE(decode(image, withByte(valid, sof + 4, 12))) << "12-bit";
    EXPECT_FALSE(decode(image, withByte(withByte(valid, sof + 1, 0xC1), sof + 4, 12))) << "12-bit extended";
    EXPECT_FALSE(decode(image, withByte(withByte(valid, sof + 1, 0xC3), sof + 4, 12))) << "lossless";
    EXPECT_EQ(0u, image.largest);

    MemorySink sink;
    OwnedBitmap grey(4, 4, 2), rgb(4, 4, 5), empty;
    EXPECT_FALSE(writeJpeg(grey, sink, 80));
    EXPECT_FALSE(writeJpeg(rgb, sink, 80));
    EXPECT_FALSE(writeJpeg(empty, sink, 80));
    EXPECT_TRUE(sink.data.empty());
}

TEST(JpegCodec, ShortWritesAndMissingFilesFail)
{
    // Noise, so that the file spans several of the codec's 32 KiB blocks.
    OwnedBitmap image(300, 200, 4);
    uint32_t state = 1;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 900; ++x) {
            state = state * 1664525u + 1013904223u;
            image.row(y)[x] = uint8_t(state >> 24);
        }
    MemorySink whole;
    ASSERT_TRUE(writeJpeg(image, whole, 90));
    ASSERT_GT(whole.data.size(), 32768u);
    // Full buffers and the final part alike.
    for (size_t limit : {size_t(0), size_t(100), size_t(32768), whole.data.size() - 1}) {
        MemorySink sink(limit);
        EXPECT_FALSE(writeJpeg(image, sink, 90)) << limit;
    }
    ThrowingSink throwing;
    EXPECT_FALSE(writeJpeg(image, throwing, 90));

    ScratchFolder folder("jpeg");
    OwnedBitmap loaded;
    EXPECT_FALSE(JpegCodec().load(loaded, folder / "missing.jpg"));
    ASSERT_TRUE(JpegCodec(90).save(image, folder / "a.jpg"));
    EXPECT_EQ(whole.data, readBytes(folder / "a.jpg"));
    ASSERT_TRUE(JpegCodec().load(loaded, folder / "a.jpg"));
    EXPECT_EQ(4, loaded.format());
    EXPECT_FALSE(JpegCodec().save(image, folder / "no/such/folder.jpg"));
}

TEST(JpegCorpus, TruncatedAtEveryOffset)
{
    struct Case
    {
        JpegSpec layout;
        bool opensWithoutEndMarker;
    };
    const Case cases[] = {{shape(40, 24, 3), true}, {shape(40, 24, 1, false, false, 1), true},
                          {shape(40, 24, 3, true), false}, {shape(40, 24, 3, false, true), false}};
    for (const Case& c : cases) {
        const Bytes valid = makeJpeg(c.layout);
        RecordingBitmap image;
        ASSERT_TRUE(decode(image, valid));
        for (size_t length = 0; length + 2 < valid.size(); ++length)
            expectRefused(Bytes(valid.begin(), valid.begin() + length), "cut at " + std::to_string(length));
        // Only the end marker missing: a single Huffman scan is complete
        // without it; progressive files may lack whole scans, and arithmetic
        // scans are padded silently, so for them it is an early end.
        const Bytes noEnd(valid.begin(), valid.end() - 2);
        EXPECT_EQ(c.opensWithoutEndMarker, decode(image, noEnd)) << c.layout.progressive << c.layout.arithmetic;
        ++corpusCount;
    }
}

TEST(JpegCorpus, BadMarkersAndSegments)
{
    const Bytes valid = makeJpeg(shape(40, 24, 3));
    const std::vector<size_t> markers = jpegMarkerOffsets(valid);
    ASSERT_GE(markers.size(), 6u);
    for (size_t at : markers) {
        for (uint8_t code : {0x00, 0x01, 0xD8, 0xD9, 0xC2, 0xCF, 0xFF})
            if (at != 0 || code != 0xD8) {
                // Which replacements a decoder can still make sense of is its
                // own business; none may crash or allocate beyond the header.
                ++corpusCount;
                RecordingBitmap image;
                decode(image, withByte(valid, at + 1, code));
                EXPECT_LE(image.largest, 40u * 24u * 3u);
            }
        if (at == 0)
            continue;
        // Segment lengths: 0, 1, one short, one long, the largest.
        const unsigned length = (valid[at + 2] << 8) | valid[at + 3];
        for (unsigned bad : {0u, 1u, length - 1, length + 1, 0xFFFFu}) {
            Bytes b = withByte(withByte(valid, at + 2, uint8_t(bad >> 8)), at + 3, uint8_t(bad));
            ++corpusCount;
            RecordingBitmap image;
            decode(image, b);
            EXPECT_LE(image.largest, 40u * 24u * 3u);
        }
    }
    // Scan data cut and closed with an end-of-image marker.
    Bytes early(valid.begin(), valid.begin() + markers.back() + 40);
    early.push_back(0xFF);
    early.push_back(0xD9);
    expectRefused(early, "scan data ended by a marker");
    expectRefused(Bytes{0xFF, 0xD8, 0xFF, 0xD9}, "no image");
    expectRefused(Bytes(valid.begin() + 2, valid.end()), "no start marker");
}

TEST(JpegCorpus, AbsurdSizes)
{
    const Bytes valid = makeJpeg(shape(40, 24, 3));
    expectRefused(withSize(valid, 0, 24), "zero width");
    expectRefused(withSize(valid, 40, 0), "zero height");
    expectRefused(withSize(valid, 65535, 65535), "65535 square");
    expectRefused(withSize(valid, 65500, 20000), "beyond the size limit");
    // Within the size limit, but a few hundred bytes cannot code the blocks.
    expectRefused(withSize(valid, 16000, 16000), "16000 square in a small file", true);
    expectRefused(withSize(makeJpeg(shape(40, 24, 1)), 30000, 30000), "30000 square grey", true);
    expectRefused(withSize(makeJpeg(shape(40, 24, 3, true)), 12000, 9000), "progressive 12000 x 9000", true);
    // A progressive file must open with a DC scan.
    const Bytes progressive = makeJpeg(shape(40, 24, 3, true));
    const size_t sos = jpegMarkerOffsets(progressive).back();
    const size_t ss = sos + 5 + 2 * progressive[sos + 4];
    expectRefused(withByte(withByte(progressive, ss, 1), ss + 1, 5), "progressive opening with an AC scan");
}

TEST(JpegCorpus, ScanCountIsLimited)
{
    JpegSpec many = shape(24, 16, 1, true);
    many.everyBitItsOwnScan = true;
    const Bytes file = makeJpeg(many);
    ASSERT_FALSE(file.empty());
    expectRefused(file, "704 scans");
}

TEST(JpegCorpus, StreamsThatStopFailAtOnce)
{
    // A stream that keeps answering "no bytes" without saying it has ended.
    class Silent : public ByteStream
    {
    public:
        unsigned int read(unsigned char*, unsigned int) override { return 0; }
    };
    class Throwing : public ByteStream
    {
    public:
        unsigned int read(unsigned char*, unsigned int) override { throw 1; }
    };
    RecordingBitmap image;
    Silent silent;
    EXPECT_FALSE(readJpeg(image, silent));
    Throwing throwing;
    EXPECT_FALSE(readJpeg(image, throwing));
    // A last block of one byte is data like any other.
    const Bytes valid = makeJpeg(shape(40, 24, 3));
    OneByteAtATime slow(valid);
    EXPECT_TRUE(readJpeg(image, slow));
    corpusCount += 3;
}

TEST(JpegCorpus, RandomMutationsNeverCrash)
{
    const Bytes files[] = {makeJpeg(shape(40, 24, 3)), makeJpeg(shape(40, 24, 3, true)),
                           makeJpeg(shape(40, 24, 3, false, true)), makeJpeg(shape(40, 24, 1, false, false, 1))};
    for (const Bytes& valid : files)
        for (uint32_t seed = 1; seed <= 300; ++seed) {
            ++corpusCount;
            RecordingBitmap image;
            decode(image, mutated(valid, seed, 1 + seed % 4));
            // What one changed size byte can claim: 65535 x 40 at most.
            EXPECT_LE(image.largest, 65535u * 40u * 3u + 65535u * 4u) << seed;
        }
    std::cout << "JPEG corpus: " << corpusCount << " files\n";
}
