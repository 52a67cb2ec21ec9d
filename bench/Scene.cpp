#include "bench/Scene.h"

#include <windows.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "foundation/ByteSink.h"
#include "image/OwnedBitmap.h"
#include "image/codecs/BmpCodec.h"
#include "image/codecs/ImageLoading.h"
#include "image/codecs/PngCodec.h"
#include "image/codecs/TgaCodec.h"
#include "shell/files/JpegCodec.h"

namespace {

uint8_t clampByte(double v)
{
    return v < 0 ? 0 : v > 255 ? 255 : uint8_t(v + 0.5);
}

// Deterministic hash noise, so every run paints the same picture.
double noise(int x, int y)
{
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return double((h ^ (h >> 16)) & 0xff) / 255.0;
}

} // namespace

Scene makeScene(int width, int height)
{
    Scene s;
    s.width = width;
    s.height = height;
    s.stride = (width * 3 + 3) & ~3;
    s.pixels.assign(size_t(s.stride) * height, 0);
    const double cx = width * 0.62, cy = height * 0.38, radius = std::fmin(width, height) * 0.22;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = &s.pixels[size_t(y) * s.stride];
        const double v = double(y) / height;
        for (int x = 0; x < width; ++x) {
            const double u = double(x) / width;
            // Sky-to-field gradient.
            double r = 70 + 120 * u, g = 110 + 90 * (1 - v), b = 200 - 150 * v;
            // A sun disc with a hard edge.
            const double dx = x - cx, dy = y - cy;
            if (dx * dx + dy * dy < radius * radius) {
                r = 250;
                g = 210 + 30 * std::sin(dx * 0.05);
                b = 60;
            }
            // Diagonal stripes over the lower third: strong directions.
            if (v > 0.66 && std::fmod((x + y * 0.5) / (width / 24.0 + 1), 2.0) < 1.0) {
                r *= 0.55;
                g *= 0.8;
                b *= 0.45;
            }
            const double t = (noise(x, y) - 0.5) * 36;
            row[x * 3 + 0] = clampByte(b + t);
            row[x * 3 + 1] = clampByte(g + t);
            row[x * 3 + 2] = clampByte(r + t);
        }
    }
    return s;
}

namespace {

uint32_t bigEndian32(const unsigned char* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

uint32_t littleEndian32(const unsigned char* p)
{
    return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

bool hasExtension(const std::string& path, const char* extension)
{
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos)
        return false;
    std::string e = path.substr(dot + 1);
    for (char& c : e)
        c = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return e == extension;
}

// The colour components a JPEG's frame header declares, 0 when the markers
// before it cannot be walked.
int jpegComponents(FILE* f)
{
    if (std::fseek(f, 2, SEEK_SET) != 0)
        return 0;
    for (;;) {
        if (std::fgetc(f) != 0xFF)
            return 0;
        int marker = std::fgetc(f);
        while (marker == 0xFF)
            marker = std::fgetc(f);
        // TEM, RSTn and SOI have no length.
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8))
            continue;
        unsigned char length[2];
        if (marker == EOF || marker == 0xD9 || marker == 0xDA || std::fread(length, 1, 2, f) != 2)
            return 0;
        const long size = long(length[0]) << 8 | length[1];
        // SOF0..SOF15 but DHT, JPG and DAC: precision, height, width, count.
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            unsigned char frame[6];
            return size >= 8 && std::fread(frame, 1, 6, f) == 6 ? frame[5] : 0;
        }
        if (size < 2 || std::fseek(f, size - 2, SEEK_CUR) != 0)
            return 0;
    }
}

// Why a picture cannot be painted, from its first bytes; empty when the
// codec of *type should be able to read it.
std::string refusal(const char* path, int* type)
{
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return "is a folder, not a picture";
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return errno == EACCES ? "permission denied" : "file not found";
    unsigned char head[34] = {};
    const size_t n = std::fread(head, 1, sizeof head, f);
    const bool jpeg = n >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF;
    const int jpegChannels = jpeg ? jpegComponents(f) : 0;
    std::fclose(f);
    if (n == 0)
        return "the file is empty";
    uint64_t pixels = 0;
    if (n >= 26 && !std::memcmp(head, "\x89PNG\r\n\x1a\n", 8)) {
        if (head[24] == 16)
            return "PNG with 16 bits per channel is not supported";
        if (head[25] == 3)
            return "PNG with a palette is not supported";
        if (head[25] == 4)
            return "PNG grey with alpha is not supported";
        pixels = uint64_t(bigEndian32(head + 16)) * bigEndian32(head + 20);
        *type = kImageTypePng;
    } else if (n >= 26 && head[0] == 'B' && head[1] == 'M') {
        const uint32_t headerSize = littleEndian32(head + 14);
        if (headerSize != 40)
            return "BMP with a " + std::to_string(headerSize) +
                   "-byte header is not supported; only the 40-byte Windows header is";
        if (n >= 34 && littleEndian32(head + 30) != 0)
            return "compressed BMP is not supported";
        const unsigned bits = unsigned(head[28] | head[29] << 8);
        if (n >= 30 && bits != 24 && bits != 32)
            return "BMP with " + std::to_string(bits) + " bits per pixel is not supported; only 24 and 32 are";
        const int32_t h = int32_t(littleEndian32(head + 22));
        pixels = uint64_t(littleEndian32(head + 18)) * uint64_t(h < 0 ? -int64_t(h) : h);
        *type = kImageTypeBmp;
    } else if (jpeg) {
        if (jpegChannels == 4)
            return "JPEG in CMYK is not supported";
        // Its size sits in a frame header further on; the codec checks it
        // before it allocates.
        *type = kImageTypeJpeg;
    } else if (n >= 18 && hasExtension(path, "tga")) {
        pixels = uint64_t(head[12] | head[13] << 8) * uint64_t(head[14] | head[15] << 8);
        *type = kImageTypeTga;
    } else {
        return "not a PNG, JPEG, BMP or TGA file";
    }
    if (pixels * 4 > OwnedBitmap::kMaxPixelBytes)
        return "image too large";
    return std::string();
}

// Writes straight to the file, keeping the system's reason of a failed write.
class FileSink : public ByteSink
{
public:
    explicit FileSink(const char* path)
        : file_(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr))
    {
        if (file_ == INVALID_HANDLE_VALUE)
            error_ = GetLastError();
    }
    ~FileSink() override { close(); }

    bool opened() const { return file_ != INVALID_HANDLE_VALUE; }
    DWORD error() const { return error_; }

    unsigned int write(const unsigned char* buffer, unsigned int count) override
    {
        DWORD written = 0;
        if (error_ || !WriteFile(file_, buffer, count, &written, nullptr)) {
            if (!error_)
                error_ = GetLastError();
            return 0;
        }
        return unsigned(written);
    }

    bool close()
    {
        if (file_ == INVALID_HANDLE_VALUE)
            return !error_;
        if (!CloseHandle(file_) && !error_)
            error_ = GetLastError();
        file_ = INVALID_HANDLE_VALUE;
        return !error_;
    }

private:
    HANDLE file_;
    DWORD error_ = 0;
};

std::string systemReason(DWORD error)
{
    switch (error) {
    case ERROR_ACCESS_DENIED:
        return "permission denied";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "the disk is full";
    case ERROR_PATH_NOT_FOUND:
        return "its folder does not exist";
    }
    char text[256] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                             sizeof text, nullptr);
    while (n && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == '.' || text[n - 1] == ' '))
        text[--n] = 0;
    return n ? std::string(text, n) : "system error " + std::to_string(error);
}

ImageCodec& codecFor(int type)
{
    static PngCodec png;
    static BmpCodec bmp;
    static TgaCodec tga;
    static JpegCodec jpeg;
    return type == kImageTypeBmp    ? static_cast<ImageCodec&>(bmp)
           : type == kImageTypeTga  ? static_cast<ImageCodec&>(tga)
           : type == kImageTypeJpeg ? static_cast<ImageCodec&>(jpeg)
                                    : png;
}

} // namespace

bool loadScene(const char* path, Scene& out, std::string* reason)
{
    int type = kImageTypeNone;
    std::string why = refusal(path, &type);
    OwnedBitmap bitmap;
    if (why.empty() && !codecFor(type).load(bitmap, path))
        why = "damaged or unsupported picture file";
    if (!why.empty()) {
        if (reason)
            *reason = why;
        return false;
    }
    out.width = bitmap.width();
    out.height = bitmap.height();
    out.stride = (out.width * 3 + 3) & ~3;
    out.pixels.assign(size_t(out.stride) * out.height, 0);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            const Pixel p = bitmap.getPixel(x, y);
            uint8_t* d = &out.pixels[size_t(y) * out.stride + x * 3];
            d[0] = p.b;
            d[1] = p.g;
            d[2] = p.r;
        }
    // The painting sees the colour alone; the alpha goes back on at the end.
    out.alpha.clear();
    if (type == kImageTypePng && bitmap.format() == kFormatBgra) {
        out.alpha.resize(size_t(out.width) * out.height);
        for (int y = 0; y < out.height; ++y)
            for (int x = 0; x < out.width; ++x)
                out.alpha[size_t(y) * out.width + x] = bitmap.getPixel(x, y).a;
    }
    return true;
}

bool withSourceAlpha(const Image& painted, const Scene& source, const char* path, OwnedBitmap& out)
{
    const int width = painted.width(), height = painted.height();
    const bool jpeg = hasExtension(path, "jpg") || hasExtension(path, "jpeg");
    if (width != source.width || height != source.height || source.alpha.size() != size_t(width) * height ||
        !out.create(width, height, jpeg ? kFormatBgr : kFormatBgra))
        return false;
    for (int y = 0; y < height; ++y) {
        const uint8_t* alpha = &source.alpha[size_t(y) * width];
        uint8_t* d = out.row(y);
        for (int x = 0; x < width; ++x) {
            const Pixel p = painted.getPixel(x, y);
            const unsigned a = alpha[x];
            const auto overWhite = [a](unsigned c) { return uint8_t((c * a + 255 * (255 - a) + 127) / 255); };
            if (jpeg) {
                d[0] = overWhite(p.b);
                d[1] = overWhite(p.g);
                d[2] = overWhite(p.r);
                d += 3;
            } else {
                d[0] = p.b;
                d[1] = p.g;
                d[2] = p.r;
                d[3] = uint8_t(a);
                d += 4;
            }
        }
    }
    return true;
}

bool savePicture(const Image& image, const char* path, std::string* reason)
{
    std::string why;
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        why = "is a folder";
    } else {
        FileSink file(path);
        if (!file.opened()) {
            why = systemReason(file.error());
        } else {
            const bool jpeg = hasExtension(path, "jpg") || hasExtension(path, "jpeg");
            const bool encoded = jpeg ? canSaveJpeg(image) && writeJpeg(image, file, JpegCodec().quality)
                                      : canSavePng(image) && writePng(image, file);
            const bool closed = file.close();
            if (!encoded || !closed) {
                why = file.error() ? systemReason(file.error()) : "the picture could not be encoded";
                DeleteFileA(path);
            }
        }
    }
    if (reason)
        *reason = why;
    return why.empty();
}
