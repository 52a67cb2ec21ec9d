#include "image/codecs/TgaCodec.h"

#include "foundation/ByteStream.h"
#include "foundation/ByteSink.h"
#include "foundation/FileReader.h"
#include "foundation/FileWriter.h"
#include "image/Image.h"
#include "image/codecs/StreamIo.h"

#include <vector>

namespace {

const int kTgaHeaderSize = 18;
const int kTgaTrueColour = 2;
const unsigned char kTgaTopDown = 0x20;

struct TgaHeader
{
    int idLength;
    int colourMapType;
    int imageType;
    int colourMapLength;
    int width;
    int height;
    int bitsPerPixel;
    int descriptor;
};

bool readHeader(ByteStream& stream, TgaHeader& h)
{
    unsigned char b[kTgaHeaderSize];
    if (readFully(stream, b, sizeof b) != sizeof b)
        return false;
    h.idLength = b[0];
    h.colourMapType = b[1];
    h.imageType = b[2];
    h.colourMapLength = readLe16(b + 5);
    h.width = readLe16(b + 12);
    h.height = readLe16(b + 14);
    h.bitsPerPixel = b[16];
    h.descriptor = b[17];
    return true;
}

// Formats 5 and 7 hold R and B the other way round from the file.
bool swapsRedBlue(const Image& image)
{
    return image.format() == kFormatRgb || image.format() == kFormatRgba;
}

} // namespace

bool readTgaHeader(ByteStream& stream, int* imageType, int* colourMapLength, int* width, int* height,
                   int* bitsPerPixel, int* dataOffset, bool* bottomUp)
{
    TgaHeader h;
    if (!readHeader(stream, h))
        return false;
    *imageType = h.imageType;
    *colourMapLength = h.colourMapLength;
    *width = h.width;
    *height = h.height;
    *bitsPerPixel = h.bitsPerPixel;
    *dataOffset = kTgaHeaderSize + h.idLength;
    *bottomUp = (h.descriptor & kTgaTopDown) == 0;
    return true;
}

bool readTga(Image& image, ByteStream& stream, uint32_t availableBytes)
{
    TgaHeader h;
    if (!readHeader(stream, h))
        return false;
    // Only uncompressed true colour without a colour map: RLE and colour-mapped
    // files are refused, as are depths other than 24 and 32 bits.
    if (h.imageType != kTgaTrueColour || h.colourMapType != 0 || h.colourMapLength != 0)
        return false;
    if (h.bitsPerPixel != 24 && h.bitsPerPixel != 32)
        return false;
    if (h.width <= 0 || h.height <= 0)
        return false;
    const int bytesPerPixel = h.bitsPerPixel / 8;
    const uint64_t rowBytes = uint64_t(h.width) * bytesPerPixel;
    const uint64_t needed = uint64_t(kTgaHeaderSize) + h.idLength + rowBytes * uint64_t(h.height);
    if (availableBytes != kUnknownLength && needed > availableBytes)
        return false;
    if (!headerSizeTrusted(rowBytes * uint64_t(h.height), availableBytes))
        return false;
    if (!skipBytes(stream, h.idLength))
        return false;
    if (!image.createWithDepth(h.width, h.height, bytesPerPixel))
        return false;
    if (image.width() != h.width || image.height() != h.height || int(image.step()) != bytesPerPixel)
        return false;
    const bool bottomUp = (h.descriptor & kTgaTopDown) == 0;
    for (int k = 0; k < h.height; ++k) {
        unsigned char* row = image.row(bottomUp ? h.height - 1 - k : k);
        if (readFully(stream, row, size_t(rowBytes)) != rowBytes)
            return false;
    }
    return true;
}

bool TgaCodec::load(Image& image, const String& path)
{
    try {
        FileReader reader(path);
        const uint32_t size = reader.size();
        return readTga(image, reader, size);
    } catch (...) {
        return false;
    }
}

bool canSaveTga(const Image& image)
{
    // The header holds 16-bit sizes; larger images cannot be described.
    return (image.step() == 3 || image.step() == 4) && image.width() > 0 && image.height() > 0
        && image.width() <= 0xFFFF && image.height() <= 0xFFFF && image.bits() != nullptr;
}

bool writeTgaHeader(const Image& image, ByteSink& sink)
{
    if (!canSaveTga(image))
        return false;
    unsigned char b[kTgaHeaderSize] = {0};
    b[2] = kTgaTrueColour;
    putLe16(b + 12, unsigned(image.width()));
    putLe16(b + 14, unsigned(image.height()));
    b[16] = static_cast<unsigned char>(8 * image.step());
    b[17] = kTgaTopDown;
    return writeFully(sink, b, sizeof b);
}

bool writeTgaRows(const Image& image, ByteSink& sink)
{
    if (!canSaveTga(image))
        return false;
    const size_t rowBytes = size_t(image.width()) * image.step();
    const bool swap = swapsRedBlue(image);
    std::vector<unsigned char> converted(swap ? rowBytes : 0);
    for (int y = 0; y < image.height(); ++y) {
        const unsigned char* row = const_cast<Image&>(image).row(y);
        if (swap) {
            for (size_t i = 0; i < rowBytes; i += image.step()) {
                converted[i] = row[i + 2];
                converted[i + 1] = row[i + 1];
                converted[i + 2] = row[i];
                if (image.step() == 4)
                    converted[i + 3] = row[i + 3];
            }
            row = converted.data();
        }
        if (!writeFully(sink, row, rowBytes))
            return false;
    }
    return true;
}

bool TgaCodec::save(const Image& image, const String& path)
{
    if (!canSaveTga(image))
        return false;
    try {
        FileWriter writer(path, 0);
        return writeTgaHeader(image, writer) && writeTgaRows(image, writer);
    } catch (...) {
        return false;
    }
}
