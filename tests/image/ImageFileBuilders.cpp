#include "ImageFileBuilders.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>

Rgba patternPixel(int x, int y)
{
    Rgba p;
    p.r = uint8_t(x * 37 + y * 11 + 5);
    p.g = uint8_t(x * 3 + y * 59 + 100);
    p.b = uint8_t(x * 91 + y * 7 + 200);
    p.a = uint8_t(x * 13 + y * 29 + 1);
    return p;
}

namespace {

void put32be(Bytes& out, uint32_t v)
{
    out.push_back(uint8_t(v >> 24));
    out.push_back(uint8_t(v >> 16));
    out.push_back(uint8_t(v >> 8));
    out.push_back(uint8_t(v));
}

void put16le(Bytes& out, unsigned v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put32le(Bytes& out, uint32_t v)
{
    put16le(out, v & 0xFFFF);
    put16le(out, v >> 16);
}

int channelsOf(int colourType)
{
    switch (colourType) {
    case 0: return 1;
    case 2: return 3;
    case 3: return 1;
    case 4: return 2;
    default: return 4;
    }
}

// Samples of one pixel for a colour type, as bytes of an 8-bit image.
void pixelSamples(int colourType, int x, int y, uint8_t* out)
{
    const Rgba p = patternPixel(x, y);
    switch (colourType) {
    case 0: out[0] = p.g; break;
    case 2: out[0] = p.r; out[1] = p.g; out[2] = p.b; break;
    case 3: out[0] = uint8_t((x + y) & 3); break;
    case 4: out[0] = p.g; out[1] = p.a; break;
    default: out[0] = p.r; out[1] = p.g; out[2] = p.b; out[3] = p.a; break;
    }
}

void appendRow(Bytes& raw, int colourType, int depth, int y, const std::vector<int>& xs)
{
    raw.push_back(0); // filter: none
    const int channels = channelsOf(colourType);
    if (depth < 8) {
        // Packed samples (only used for refused files): any bits will do.
        const size_t bytes = (xs.size() * channels * depth + 7) / 8;
        for (size_t i = 0; i < bytes; ++i)
            raw.push_back(uint8_t(0x5A + i));
        return;
    }
    for (int x : xs) {
        uint8_t s[4];
        pixelSamples(colourType, x, y, s);
        for (int c = 0; c < channels; ++c) {
            raw.push_back(s[c]);
            if (depth == 16)
                raw.push_back(s[c]);
        }
    }
}

} // namespace

void appendPngChunk(Bytes& out, const char type[4], const Bytes& data)
{
    put32be(out, uint32_t(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, &out[start], uInt(out.size() - start));
    put32be(out, uint32_t(crc));
}

Bytes makePng(int width, int height, int colourType, int depth, bool interlaced)
{
    Bytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes ihdr;
    put32be(ihdr, uint32_t(width));
    put32be(ihdr, uint32_t(height));
    ihdr.push_back(uint8_t(depth));
    ihdr.push_back(uint8_t(colourType));
    ihdr.push_back(0);
    ihdr.push_back(0);
    ihdr.push_back(interlaced ? 1 : 0);
    appendPngChunk(out, "IHDR", ihdr);
    if (colourType == 3) {
        Bytes plte;
        for (int i = 0; i < 4; ++i) {
            plte.push_back(uint8_t(i * 60));
            plte.push_back(uint8_t(255 - i * 60));
            plte.push_back(uint8_t(i * 30));
        }
        appendPngChunk(out, "PLTE", plte);
    }

    Bytes raw;
    if (!interlaced) {
        std::vector<int> xs;
        for (int x = 0; x < width; ++x)
            xs.push_back(x);
        for (int y = 0; y < height; ++y)
            appendRow(raw, colourType, depth, y, xs);
    } else {
        // Adam7: each pass is a small image of its own, empty passes omitted.
        static const int x0[7] = {0, 4, 0, 2, 0, 1, 0}, dx[7] = {8, 8, 4, 4, 2, 2, 1};
        static const int y0[7] = {0, 0, 4, 0, 2, 0, 1}, dy[7] = {8, 8, 8, 4, 4, 2, 2};
        for (int pass = 0; pass < 7; ++pass) {
            std::vector<int> xs;
            for (int x = x0[pass]; x < width; x += dx[pass])
                xs.push_back(x);
            if (xs.empty())
                continue;
            for (int y = y0[pass]; y < height; y += dy[pass])
                appendRow(raw, colourType, depth, y, xs);
        }
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    Bytes packed(packedSize);
    compress(packed.data(), &packedSize, raw.data(), uLong(raw.size()));
    packed.resize(packedSize);
    // Two IDAT chunks, so readers must join them.
    const size_t half = packed.size() / 2;
    appendPngChunk(out, "IDAT", Bytes(packed.begin(), packed.begin() + half));
    appendPngChunk(out, "IDAT", Bytes(packed.begin() + half, packed.end()));
    appendPngChunk(out, "IEND", Bytes());
    return out;
}

std::vector<size_t> pngChunkOffsets(const Bytes& png)
{
    std::vector<size_t> offsets;
    size_t pos = 8;
    while (pos + 12 <= png.size()) {
        const uint32_t length = (uint32_t(png[pos]) << 24) | (png[pos + 1] << 16) | (png[pos + 2] << 8) | png[pos + 3];
        offsets.push_back(pos + 4);
        pos += 12 + length;
    }
    return offsets;
}

Bytes makeBmp(int width, int height, int bits, int gap, bool alphaZero)
{
    const int rows = height < 0 ? -height : height;
    const int rowBytes = ((bits * width + 31) & ~31) / 8;
    const uint32_t offset = 54 + gap;
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    put32le(out, offset + rowBytes * rows);
    put32le(out, 0);
    put32le(out, offset);
    put32le(out, 40);
    put32le(out, uint32_t(width));
    put32le(out, uint32_t(height));
    put16le(out, 1);
    put16le(out, bits);
    put32le(out, 0);
    put32le(out, rowBytes * rows);
    put32le(out, 2835);
    put32le(out, 2835);
    put32le(out, 0);
    put32le(out, 0);
    for (int i = 0; i < gap; ++i)
        out.push_back(0xEE);
    for (int k = 0; k < rows; ++k) {
        const int y = height > 0 ? rows - 1 - k : k;
        int written = 0;
        for (int x = 0; x < width; ++x) {
            const Rgba p = patternPixel(x, y);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
            written += 3;
            if (bits == 32) {
                out.push_back(alphaZero ? 0 : p.a);
                ++written;
            }
        }
        for (; written < rowBytes; ++written)
            out.push_back(0xCC);
    }
    return out;
}

Bytes makeTga(int width, int height, int bits, bool topDown, int idLength)
{
    Bytes out;
    out.push_back(uint8_t(idLength));
    out.push_back(0);
    out.push_back(2);
    for (int i = 0; i < 5; ++i)
        out.push_back(0);
    put16le(out, 0);
    put16le(out, 0);
    put16le(out, width);
    put16le(out, height);
    out.push_back(uint8_t(bits));
    out.push_back(uint8_t((topDown ? 0x20 : 0) | (bits == 32 ? 8 : 0)));
    for (int i = 0; i < idLength; ++i)
        out.push_back(uint8_t('a' + i % 26));
    for (int k = 0; k < height; ++k) {
        const int y = topDown ? k : height - 1 - k;
        for (int x = 0; x < width; ++x) {
            const Rgba p = patternPixel(x, y);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
            if (bits == 32)
                out.push_back(p.a);
        }
    }
    return out;
}

std::string scratchFolder()
{
    static std::string folder;
    if (folder.empty()) {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        char name[64];
        std::snprintf(name, sizeof name, "qx_image_tests_%lu\\", GetCurrentProcessId());
        folder = std::string(temp) + name;
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    return folder;
}

std::string writeScratchFile(const std::string& name, const Bytes& data)
{
    const std::string path = scratchFolder() + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f) {
        if (!data.empty())
            std::fwrite(data.data(), 1, data.size(), f);
        std::fclose(f);
    }
    return path;
}

Bytes readFileBytes(const std::string& path)
{
    Bytes data;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return data;
    uint8_t buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        data.insert(data.end(), buffer, buffer + n);
    std::fclose(f);
    return data;
}

namespace {

// Removes the scratch folder once every test has run.
class ScratchCleanup : public ::testing::Environment
{
public:
    void TearDown() override
    {
        const std::string folder = scratchFolder();
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileA((folder + found.cFileName).c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(folder.c_str());
    }
};

::testing::Environment* const scratchCleanup = ::testing::AddGlobalTestEnvironment(new ScratchCleanup);

} // namespace
