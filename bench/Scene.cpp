#include "bench/Scene.h"

#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "foundation/ByteSink.h"
#include "foundation/FileInputStream.h"
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

std::string systemReason(DWORD error);

HANDLE openForReading(const std::wstring& path)
{
    return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The colour components a JPEG's frame header declares, 0 when the markers
// before it cannot be walked.
int jpegComponents(HANDLE f)
{
    const auto read = [f](unsigned char* into, DWORD count) {
        DWORD n = 0;
        return ReadFile(f, into, count, &n, nullptr) && n == count;
    };
    if (SetFilePointer(f, 2, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return 0;
    for (;;) {
        unsigned char byte = 0;
        if (!read(&byte, 1) || byte != 0xFF)
            return 0;
        do {
            if (!read(&byte, 1))
                return 0;
        } while (byte == 0xFF);
        const int marker = byte;
        // TEM, RSTn and SOI have no length.
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8))
            continue;
        unsigned char length[2];
        if (marker == 0xD9 || marker == 0xDA || !read(length, 2))
            return 0;
        const LONG size = LONG(length[0]) << 8 | length[1];
        // SOF0..SOF15 but DHT, JPG and DAC: precision, height, width, count.
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            unsigned char frame[6];
            return size >= 8 && read(frame, 6) ? frame[5] : 0;
        }
        if (size < 2 || SetFilePointer(f, size - 2, nullptr, FILE_CURRENT) == INVALID_SET_FILE_POINTER)
            return 0;
    }
}

// Why a picture cannot be painted, from its first bytes; empty when the
// codec of *type should be able to read it.
std::string refusal(const char* path, int* type)
{
    const std::wstring name = widen(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return "is a folder, not a picture";
    const HANDLE f = openForReading(name);
    if (f == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? "file not found"
                                                                               : systemReason(error);
    }
    unsigned char head[34] = {};
    DWORD n = 0;
    const DWORD error = ReadFile(f, head, sizeof head, &n, nullptr) ? 0 : GetLastError();
    const bool jpeg = !error && n >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF;
    const int jpegChannels = jpeg ? jpegComponents(f) : 0;
    CloseHandle(f);
    if (error)
        return systemReason(error);
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

// Writes straight to an open file, keeping the system's reason of a failed
// write. A write the system takes only in part is retried for the rest, so
// that a disk filling up answers with its own error.
class FileSink : public ByteSink
{
public:
    explicit FileSink(HANDLE file) : file_(file)
    {
        // Test seam: QX_TEST_SEAM_DISK_ROOM=N lets the file take N bytes in
        // all, as a disk with that much room left would.
        char room[24] = {};
        const DWORD n = GetEnvironmentVariableA("QX_TEST_SEAM_DISK_ROOM", room, sizeof room);
        if (n && n < sizeof room)
            room_ = std::strtoull(room, nullptr, 10);
    }
    ~FileSink() override { close(); }

    DWORD error() const { return error_; }

    unsigned int write(const unsigned char* buffer, unsigned int count) override
    {
        unsigned int done = 0;
        while (!error_ && done < count) {
            DWORD asked = count - done, written = 0;
            if (asked > room_)
                asked = DWORD(room_);
            if (asked == 0)
                error_ = ERROR_DISK_FULL;
            else if (!WriteFile(file_, buffer + done, asked, &written, nullptr))
                error_ = GetLastError();
            else if (written == 0) // nothing taken, and no error said
                error_ = ERROR_DISK_FULL;
            room_ -= written;
            done += unsigned(written);
        }
        return done;
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
    uint64_t room_ = UINT64_MAX;
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

// The codecs' own load opens its path in the ANSI code page: the file is
// opened here and decoded from the stream.
bool decode(const char* path, int type, Image& image)
{
    try {
        FileInputStream file(openForReading(widen(path)));
        const uint32_t size = file.size();
        switch (type) {
        case kImageTypeBmp: return readBmp(image, file, size);
        case kImageTypeTga: return readTga(image, file, size);
        case kImageTypeJpeg: return readJpeg(image, file, size);
        default: return readPng(image, file, size);
        }
    } catch (...) {
        return false;
    }
}

std::string encode(const Image& image, FileSink& file, bool jpeg)
{
    const bool encoded = jpeg ? canSaveJpeg(image) && writeJpeg(image, file, JpegCodec().quality)
                              : canSavePng(image) && writePng(image, file);
    const bool closed = file.close();
    if (encoded && closed)
        return std::string();
    return file.error() ? systemReason(file.error()) : "the picture could not be encoded";
}

bool endsInSeparator(const std::wstring& path)
{
    return !path.empty() && (path.back() == L'\\' || path.back() == L'/');
}

// As the shell saves: the picture is written beside the target under
// "._wr" and moved over it in one step once closed, so that a failure at any
// point leaves an old target as it was.
std::string writeReplacing(const Image& image, const std::wstring& target, bool jpeg)
{
    if (endsInSeparator(target))
        return "names a folder";
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return "is a folder";
    // An existing target must take writing, as it did when it was
    // overwritten in place.
    const HANDLE existing = CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (existing == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND)
            return systemReason(error);
    } else if (GetFileType(existing) != FILE_TYPE_DISK) {
        // A device or a pipe is no file to replace: it takes the bytes.
        FileSink device(existing);
        return encode(image, device, jpeg);
    } else {
        CloseHandle(existing);
    }
    const std::wstring temporary = target + L"._wr";
    const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return systemReason(GetLastError());
    std::string why;
    try {
        FileSink sink(file);
        why = encode(image, sink, jpeg);
    } catch (...) {
        DeleteFileW(temporary.c_str());
        throw;
    }
    if (why.empty() && !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
        why = systemReason(GetLastError());
    if (!why.empty())
        DeleteFileW(temporary.c_str());
    return why;
}

} // namespace

std::wstring widen(const char* text)
{
    const int length = int(std::strlen(text));
    UINT codePage = CP_UTF8;
    int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text, length, nullptr, 0);
    if (n == 0 && length) {
        codePage = CP_ACP;
        n = MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    }
    std::wstring wide(size_t(n), L'\0');
    if (n)
        MultiByteToWideChar(codePage, 0, text, length, &wide[0], n);
    return wide;
}

bool loadScene(const char* path, Scene& out, std::string* reason)
{
    int type = kImageTypeNone;
    std::string why = refusal(path, &type);
    OwnedBitmap bitmap;
    if (why.empty() && !decode(path, type, bitmap))
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
    const bool jpeg = hasExtension(path, "jpg") || hasExtension(path, "jpeg");
    const std::string why = writeReplacing(image, widen(path), jpeg);
    if (reason)
        *reason = why;
    return why.empty();
}
