// Malformed files made from valid ones: every decoder must answer false,
// never crash, hang or allocate what a lying header asks for.

#include "image/ByteMutations.h"
#include "ImageFileBuilders.h"
#include "RecordingBitmap.h"

#include "foundation/Base64Encoder.h"
#include "foundation/FixedBufferReader.h"
#include "image/OwnedBitmap.h"
#include "image/codecs/BmpCodec.h"
#include "image/codecs/ImageLoading.h"
#include "image/codecs/PngCodec.h"
#include "image/codecs/TgaCodec.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>
#include <zlib.h>

#include <functional>

namespace {

const uint64_t kSmall = 1 << 20;

typedef std::function<bool(Image&, const Bytes&)> Decoder;

bool decodePng(Image& image, const Bytes& data)
{
    FixedBufferReader reader(data.data(), unsigned(data.size()));
    return readPng(image, reader);
}

bool decodePngSized(Image& image, const Bytes& data)
{
    FixedBufferReader reader(data.data(), unsigned(data.size()));
    return readPng(image, reader, unsigned(data.size()));
}

bool decodeBmp(Image& image, const Bytes& data)
{
    FixedBufferReader reader(data.data(), unsigned(data.size()));
    return readBmp(image, reader, unsigned(data.size()));
}

bool decodeBmpUnknownSize(Image& image, const Bytes& data)
{
    FixedBufferReader reader(data.data(), unsigned(data.size()));
    return readBmp(image, reader);
}

bool decodeTga(Image& image, const Bytes& data)
{
    FixedBufferReader reader(data.data(), unsigned(data.size()));
    return readTga(image, reader, unsigned(data.size()));
}

bool decodeTgaUnknownSize(Image& image, const Bytes& data)
{
    FixedBufferReader reader(data.data(), unsigned(data.size()));
    return readTga(image, reader);
}

void expectRefused(const Decoder& decode, const Bytes& data, const std::string& what)
{
    RecordingBitmap image;
    EXPECT_FALSE(decode(image, data)) << what;
    EXPECT_LE(image.largest, kSmall) << what;
}

void expectEveryTruncationRefused(const Decoder& decode, const Bytes& valid, const std::string& what)
{
    {
        RecordingBitmap image;
        ASSERT_TRUE(decode(image, valid)) << what;
    }
    for (size_t length = 0; length < valid.size(); ++length)
        expectRefused(decode, Bytes(valid.begin(), valid.begin() + length), what + " cut at " + std::to_string(length));
}

void put32be(Bytes& data, size_t at, uint32_t v)
{
    data[at] = uint8_t(v >> 24);
    data[at + 1] = uint8_t(v >> 16);
    data[at + 2] = uint8_t(v >> 8);
    data[at + 3] = uint8_t(v);
}

void put32le(Bytes& data, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        data[at + i] = uint8_t(v >> (8 * i));
}

void put16le(Bytes& data, size_t at, unsigned v)
{
    data[at] = uint8_t(v);
    data[at + 1] = uint8_t(v >> 8);
}

// A PNG whose IHDR fields are rewritten, with a correct CRC, so that only the
// values themselves are wrong.
Bytes pngWithHeader(uint32_t width, uint32_t height, int depth, int colourType, int interlace = 0)
{
    Bytes png = makePng(4, 4, 2);
    const size_t ihdr = 16; // after signature, length and type
    put32be(png, ihdr, width);
    put32be(png, ihdr + 4, height);
    png[ihdr + 8] = uint8_t(depth);
    png[ihdr + 9] = uint8_t(colourType);
    png[ihdr + 12] = uint8_t(interlace);
    put32be(png, ihdr + 13, uint32_t(crc32(0L, &png[12], 17)));
    return png;
}

// The most memory the process has held so far (Wine reports the resident
// high-water mark), so a test can tell whether a call touched a large block.
uint64_t peakMemory()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize;
}

Bytes hexBytes(const char* hex)
{
    Bytes out;
    for (const char* p = hex; p[0] && p[1]; p += 2)
        out.push_back(uint8_t(std::stoi(std::string(p, 2), nullptr, 16)));
    return out;
}

// A valid PNG with one extra chunk before its image data.
Bytes pngWithChunk(const char type[4], const Bytes& data)
{
    const Bytes valid = makePng(5, 4, 2);
    const size_t idat = pngChunkOffsets(valid)[1] - 4;
    Bytes out(valid.begin(), valid.begin() + idat);
    appendPngChunk(out, type, data);
    out.insert(out.end(), valid.begin() + idat, valid.end());
    return out;
}

} // namespace

TEST(CodecCorpus, PngTruncatedAtEveryOffset)
{
    expectEveryTruncationRefused(decodePng, makePng(5, 4, 6), "rgba");
    expectEveryTruncationRefused(decodePng, makePng(6, 5, 2, 8, true), "interlaced rgb");
    expectEveryTruncationRefused(decodePng, makePng(3, 3, 0), "grey");
}

TEST(CodecCorpus, PngBadSignatureAndCrc)
{
    const Bytes valid = makePng(5, 4, 6);
    for (size_t i = 0; i < 8; ++i) {
        Bytes bad = valid;
        bad[i] ^= 0x20;
        expectRefused(decodePng, bad, "signature byte " + std::to_string(i));
    }
    // Critical chunks with a wrong CRC: IHDR, both IDATs and IEND.
    for (size_t typeAt : pngChunkOffsets(valid)) {
        Bytes bad = valid;
        const uint32_t length = (bad[typeAt - 4] << 24) | (bad[typeAt - 3] << 16) | (bad[typeAt - 2] << 8) | bad[typeAt - 1];
        bad[typeAt + 4 + length] ^= 0x01;
        expectRefused(decodePng, bad, "crc of chunk at " + std::to_string(typeAt));
    }
    // A chunk length far beyond the data.
    Bytes longChunk = valid;
    put32be(longChunk, pngChunkOffsets(valid)[1] - 4, 0x7FFFFFF0u);
    expectRefused(decodePng, longChunk, "huge chunk length");
}

TEST(CodecCorpus, PngAbsurdSizesAndWrongDepths)
{
    expectRefused(decodePng, pngWithHeader(0x7FFFFFFFu, 0x7FFFFFFFu, 8, 6), "2^31-1 square");
    expectRefused(decodePng, pngWithHeader(50000, 50000, 8, 6), "50000 square");
    expectRefused(decodePng, pngWithHeader(1000000, 1000000, 8, 2), "10^6 square");
    expectRefused(decodePng, pngWithHeader(0x80000000u, 1, 8, 2), "width 2^31");
    expectRefused(decodePng, pngWithHeader(0, 4, 8, 2), "zero width");
    expectRefused(decodePng, pngWithHeader(4, 0, 8, 2), "zero height");
    expectRefused(decodePng, pngWithHeader(4, 4, 16, 2), "16-bit rgb");
    expectRefused(decodePng, pngWithHeader(4, 4, 7, 2), "depth 7");
    expectRefused(decodePng, pngWithHeader(4, 4, 8, 5), "colour type 5");
    expectRefused(decodePng, pngWithHeader(4, 4, 8, 3), "palette without PLTE");
    expectRefused(decodePng, pngWithHeader(4, 4, 8, 2, 2), "interlace method 2");
    // The header promises more rows than the data holds.
    expectRefused(decodePng, pngWithHeader(4, 400, 8, 2), "rows missing");
}

TEST(CodecCorpus, PngHugeAncillaryChunksAllocateNothing)
{
    // A 1 x 1 picture whose text chunk claims 2^31 - 1 bytes.
    const Bytes claim = hexBytes("89504e470d0a1a0a0000000d4948445200000001000000010802000000907753de"
                                 "7fffffff744558746b657900");
    ASSERT_EQ(45u, claim.size());
    const uint64_t before = peakMemory();
    expectRefused(decodePng, claim, "45-byte text claim");
    expectRefused(decodePngSized, claim, "45-byte text claim, size known");
    for (const char* type : {"tEXt", "zTXt", "iTXt", "sPLT", "eXIf", "pCAL", "sCAL", "iCCP", "abCd"}) {
        Bytes huge = pngWithChunk(type, Bytes(16, 'k'));
        put32be(huge, pngChunkOffsets(huge)[1] - 4, 0x7FFFFFFFu);
        expectRefused(decodePng, huge, std::string(type) + " of 2^31 - 1 bytes");
    }
    EXPECT_LT(peakMemory() - before, uint64_t(256) << 20);

    // Chunks that the codec has no use for are skipped, whatever they hold.
    for (const char* type : {"tEXt", "zTXt", "iTXt", "sPLT", "eXIf"}) {
        RecordingBitmap image;
        EXPECT_TRUE(decodePngSized(image, pngWithChunk(type, Bytes(100000, 0xFF)))) << type;
        Bytes badCrc = pngWithChunk(type, Bytes(8, 'x'));
        badCrc[pngChunkOffsets(badCrc)[1] + 4 + 8] ^= 1;
        EXPECT_TRUE(decodePngSized(image, badCrc)) << type;
    }
}

TEST(CodecCorpus, PngHeaderBeyondWhatTheDataCanInflateTo)
{
    // Deflate expands at most 1032 times: a few hundred bytes cannot hold
    // 10000 x 10000 pixels, which fit the size limit.
    for (int colourType : {0, 2, 6}) {
        const Bytes big = pngWithHeader(10000, 10000, 8, colourType);
        expectRefused(decodePngSized, big, "10000 square, type " + std::to_string(colourType));
    }
    // The same through a data URI, whose text length bounds the data.
    const Bytes big = pngWithHeader(10000, 10000, 8, 2);
    FixedBufferReader raw(big.data(), unsigned(big.size()));
    Base64Encoder encoder(&raw, 76);
    std::string uri = "data:image/png;base64,";
    unsigned char c;
    while (encoder.getByte(c))
        uri += char(c);
    RecordingBitmap fromUri;
    EXPECT_FALSE(imageFromDataUri(uri, fromUri));
    EXPECT_LE(fromUri.largest, kSmall);

    // A picture that deflate compresses close to its limit still opens.
    OwnedBitmap flat(600, 600, 2);
    for (int y = 0; y < 600; ++y)
        std::fill(flat.row(y), flat.row(y) + 600, uint8_t(7));
    const std::string path = scratchFolder() + "flat.png";
    ASSERT_TRUE(PngCodec().save(flat, path));
    RecordingBitmap image;
    EXPECT_TRUE(decodePngSized(image, readFileBytes(path)));
}

TEST(CodecCorpus, PngRandomMutationsNeverCrash)
{
    const Bytes valid = makePng(9, 7, 6, 8, true);
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        RecordingBitmap image;
        decodePng(image, mutated(valid, seed, 1 + seed % 4));
        EXPECT_LE(image.largest, kSmall) << seed;
    }
}

TEST(CodecCorpus, BmpTruncatedBadHeadersAndSizes)
{
    expectEveryTruncationRefused(decodeBmp, makeBmp(5, 4, 24), "24 bits");
    expectEveryTruncationRefused(decodeBmpUnknownSize, makeBmp(3, -3, 32, 8), "32 bits top-down");

    const Bytes valid = makeBmp(5, 4, 24);
    auto with = [&](size_t at, uint32_t v, int bytes) {
        Bytes b = valid;
        if (bytes == 2)
            put16le(b, at, v);
        else
            put32le(b, at, v);
        return b;
    };
    for (const Decoder& decode : {Decoder(decodeBmp), Decoder(decodeBmpUnknownSize)}) {
        expectRefused(decode, with(0, 0x4D43, 2), "signature");
        expectRefused(decode, with(14, 12, 4), "core header");
        expectRefused(decode, with(14, 108, 4), "v4 header");
        expectRefused(decode, with(18, 0, 4), "zero width");
        expectRefused(decode, with(18, uint32_t(-5), 4), "negative width");
        expectRefused(decode, with(22, 0, 4), "zero height");
        expectRefused(decode, with(22, 0x80000000u, 4), "height INT_MIN");
        expectRefused(decode, with(26, 0, 2), "planes 0");
        expectRefused(decode, with(28, 8, 2), "8 bits");
        expectRefused(decode, with(28, 16, 2), "16 bits");
        expectRefused(decode, with(28, 1, 2), "1 bit");
        expectRefused(decode, with(30, 1, 4), "RLE8");
        expectRefused(decode, with(30, 3, 4), "bitfields");
        expectRefused(decode, with(10, 20, 4), "pixel offset inside the headers");
        expectRefused(decode, with(10, 0xFFFFFF00u, 4), "pixel offset past the end");
        Bytes huge = with(18, 0x40000000u, 4);
        put32le(huge, 22, 0x40000000u);
        expectRefused(decode, huge, "2^30 square");
        Bytes tall = with(22, 0x7FFFFFFFu, 4);
        expectRefused(decode, tall, "2^31-1 rows");
        Bytes wideTopDown = with(18, 30000, 4);
        put32le(wideTopDown, 22, uint32_t(-30000));
        expectRefused(decode, wideTopDown, "30000 square top-down");
    }
}

TEST(CodecCorpus, TgaTruncatedCompressedMappedAndWrongDepths)
{
    expectEveryTruncationRefused(decodeTga, makeTga(5, 3, 24, false, 3), "24 bits");
    expectEveryTruncationRefused(decodeTgaUnknownSize, makeTga(4, 4, 32, true), "32 bits");

    const Bytes valid = makeTga(5, 3, 24, false);
    auto with = [&](size_t at, unsigned v, int bytes) {
        Bytes b = valid;
        if (bytes == 2)
            put16le(b, at, v);
        else
            b[at] = uint8_t(v);
        return b;
    };
    for (const Decoder& decode : {Decoder(decodeTga), Decoder(decodeTgaUnknownSize)}) {
        expectRefused(decode, with(2, 10, 1), "RLE true colour");
        expectRefused(decode, with(2, 9, 1), "RLE colour-mapped");
        expectRefused(decode, with(2, 3, 1), "grey");
        expectRefused(decode, with(2, 0, 1), "no image data");
        Bytes mapped = with(2, 1, 1);
        mapped[1] = 1;
        put16le(mapped, 5, 4);
        mapped[7] = 24;
        expectRefused(decode, mapped, "colour-mapped");
        expectRefused(decode, with(5, 16, 2), "colour-map length on a true-colour file");
        expectRefused(decode, with(1, 1, 1), "colour-map type 1");
        expectRefused(decode, with(16, 8, 1), "8 bits");
        expectRefused(decode, with(16, 16, 1), "16 bits");
        expectRefused(decode, with(16, 15, 1), "15 bits");
        expectRefused(decode, with(12, 0, 2), "zero width");
        expectRefused(decode, with(14, 0, 2), "zero height");
        Bytes huge = with(12, 0xFFFF, 2);
        put16le(huge, 14, 0xFFFF);
        expectRefused(decode, huge, "65535 square");
    }
}

TEST(CodecCorpus, FilesThroughTheCodecs)
{
    // The same refusals through real files and the extension-chosen decoders.
    const Bytes png = makePng(5, 4, 6);
    const Bytes bmp = makeBmp(5, 4, 32);
    const Bytes tga = makeTga(5, 4, 32, true);
    for (size_t cut : {size_t(0), size_t(10), size_t(30), size_t(60)}) {
        OwnedBitmap image;
        EXPECT_FALSE(image.loadFile(writeScratchFile("cut.png", Bytes(png.begin(), png.begin() + cut))));
        EXPECT_FALSE(image.loadFile(writeScratchFile("cut.bmp", Bytes(bmp.begin(), bmp.begin() + cut))));
        EXPECT_FALSE(image.loadFile(writeScratchFile("cut.tga", Bytes(tga.begin(), tga.begin() + cut))));
    }
    OwnedBitmap image;
    // Content that does not match the extension.
    EXPECT_FALSE(image.loadFile(writeScratchFile("png.bmp", png)));
    EXPECT_FALSE(image.loadFile(writeScratchFile("bmp.tga", bmp)));
    EXPECT_FALSE(image.loadFile(writeScratchFile("tga.png", tga)));
    EXPECT_TRUE(image.loadFile(writeScratchFile("ok.tga", tga)));
}
