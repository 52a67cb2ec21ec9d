#include "image/codecs/PngCodec.h"

#include "foundation/ByteStream.h"
#include "foundation/ByteSink.h"
#include "foundation/FileReader.h"
#include "foundation/FileWriter.h"
#include "image/Image.h"
#include "image/codecs/StreamIo.h"

#include <png.h>

// libpng reports errors by longjmp. The functions that hold a setjmp frame or
// can be left by longjmp (the callbacks below) keep no object with a
// destructor alive at that moment, and no C++ exception ever crosses a libpng
// frame: the stream callbacks catch everything and turn it into a libpng error.

namespace {

void onPngError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp)
{
}

bool readQuietly(ByteStream& stream, png_bytep data, size_t length)
{
    try {
        return readFully(stream, data, length) == length;
    } catch (...) {
        return false;
    }
}

bool writeQuietly(ByteSink& sink, png_bytep data, size_t length)
{
    try {
        return writeFully(sink, data, length);
    } catch (...) {
        return false;
    }
}

void pngRead(png_structp png, png_bytep data, size_t length)
{
    ByteStream* stream = static_cast<ByteStream*>(png_get_io_ptr(png));
    if (!readQuietly(*stream, data, length))
        png_error(png, "Read Error");
}

void pngWrite(png_structp png, png_bytep data, size_t length)
{
    ByteSink* sink = static_cast<ByteSink*>(png_get_io_ptr(png));
    if (!writeQuietly(*sink, data, length))
        png_error(png, "Write Error");
}

// Deflate turns at most 1032 bytes into 2 bits (a 258-byte match).
const uint64_t kMaxDeflateRatio = 1032;

// Holds the setjmp frame; only plain values live here. Image operations that
// may throw run outside libpng's frames, so their exceptions reach readPng.
bool decodePng(png_structp png, png_infop info, Image* image, ByteStream* stream, uint32_t availableBytes)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, stream, pngRead);
    // libpng reads a text, sPLT or eXIf chunk whole into a buffer of its
    // declared size, and with its default settings a length above the chunk
    // limit is only a warning. The codec uses none of the ancillary chunks, so
    // they are skipped unread (tRNS excepted, which libpng always handles).
    png_set_chunk_malloc_max(png, 8u << 20);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_read_info(png, info);

    png_uint_32 width = 0, height = 0;
    int depth = 0, colourType = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colourType, &interlace, nullptr, nullptr);
    if (depth != 8)
        return false;
    int format;
    switch (colourType) {
    case PNG_COLOR_TYPE_GRAY: format = kFormatGrey; break;
    case PNG_COLOR_TYPE_RGB: format = kFormatBgr; break;
    case PNG_COLOR_TYPE_RGB_ALPHA: format = kFormatBgra; break;
    default: return false;
    }
    if (width == 0 || height == 0 || width > 0x7FFFFFFFu || height > 0x7FFFFFFFu)
        return false;
    // Pixels that the rest of the file could not inflate to are refused
    // before the image is allocated.
    const uint64_t pixelBytes = uint64_t(width) * uint64_t(height) * uint64_t(png_get_channels(png, info));
    if (availableBytes != kUnknownLength && pixelBytes > kMaxDeflateRatio * uint64_t(availableBytes))
        return false;
    if (!headerSizeTrusted(pixelBytes, availableBytes))
        return false;
    if (!image->create(int(width), int(height), format))
        return false;
    if (image->width() != int(width) || image->height() != int(height) || image->format() != format || !image->bits())
        return false;

    png_set_bgr(png);
    if (interlace != PNG_INTERLACE_NONE)
        png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) > size_t(width) * image->step())
        return false;
    // The row table is allocated on first use; without memory for it there
    // is nothing to read into.
    png_bytepp rows = const_cast<png_bytepp>(image->rowTable());
    if (!rows)
        return false;
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    return true;
}

bool encodePng(png_structp png, png_infop info, const Image* image, png_bytepp rows, ByteSink* sink)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, sink, pngWrite, nullptr);
    int colourType;
    switch (image->step()) {
    case 1: colourType = PNG_COLOR_TYPE_GRAY; break;
    case 3: colourType = PNG_COLOR_TYPE_RGB; break;
    default: colourType = PNG_COLOR_TYPE_RGB_ALPHA; break;
    }
    png_set_IHDR(png, info, png_uint_32(image->width()), png_uint_32(image->height()), 8, colourType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    // Formats 4 and 6 are B,G,R(,A) in memory; 5 and 7 are already in file order.
    if (image->format() == kFormatBgr || image->format() == kFormatBgra)
        png_set_bgr(png);
    png_write_image(png, rows);
    png_write_end(png, info);
    return true;
}

} // namespace

bool canSavePng(const Image& image)
{
    switch (image.format()) {
    case kFormatGrey: case kFormatBgr: case kFormatRgb: case kFormatBgra: case kFormatRgba:
        return image.width() > 0 && image.height() > 0 && image.bits() != nullptr;
    default:
        return false;
    }
}

bool readPng(Image& image, ByteStream& stream, uint32_t availableBytes)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    bool ok;
    try {
        ok = decodePng(png, info, &image, &stream, availableBytes);
    } catch (...) {
        ok = false;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return ok;
}

bool writePng(const Image& image, ByteSink& sink)
{
    if (!canSavePng(image))
        return false;
    png_bytepp rows = const_cast<png_bytepp>(image.rowTable());
    if (!rows)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    const bool ok = encodePng(png, info, &image, rows, &sink);
    png_destroy_write_struct(&png, &info);
    return ok;
}

bool PngCodec::load(Image& image, const String& path)
{
    try {
        FileReader reader(path);
        const uint32_t size = reader.size();
        return readPng(image, reader, size);
    } catch (...) {
        return false;
    }
}

bool PngCodec::save(const Image& image, const String& path)
{
    if (!canSavePng(image))
        return false;
    try {
        FileWriter writer(path, 0);
        return writePng(image, writer);
    } catch (...) {
        return false;
    }
}
