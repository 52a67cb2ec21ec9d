#include "image/codecs/BmpCodec.h"

#include "foundation/ByteStream.h"
#include "foundation/ByteSink.h"
#include "foundation/FileReader.h"
#include "foundation/FileWriter.h"
#include "image/Image.h"
#include "image/codecs/StreamIo.h"

#include <climits>
#include <vector>

namespace {

const int kFileHeaderSize = 14;
const int kInfoHeaderSize = 40;

} // namespace

bool hasOnlyZeroAlpha(Image& image)
{
    if (image.step() != 4 || !image.bits())
        return false;
    for (int y = 0; y < image.height(); ++y) {
        const unsigned char* row = image.row(y);
        for (int x = 0; x < image.width(); ++x)
            if (row[4 * x + 3] != 0)
                return false;
    }
    return true;
}

void makeOpaque(Image& image)
{
    if (image.step() != 4 || !image.bits())
        return;
    for (int y = 0; y < image.height(); ++y) {
        unsigned char* row = image.row(y);
        for (int x = 0; x < image.width(); ++x)
            row[4 * x + 3] = 255;
    }
}

bool readBmp(Image& image, ByteStream& stream, uint32_t availableBytes)
{
    unsigned char fileHeader[kFileHeaderSize];
    if (readFully(stream, fileHeader, sizeof fileHeader) != sizeof fileHeader)
        return false;
    if (readLe16(fileHeader) != 0x4D42)
        return false;
    const uint32_t pixelOffset = readLe32(fileHeader + 10);

    unsigned char info[kInfoHeaderSize];
    if (readFully(stream, info, sizeof info) != sizeof info)
        return false;
    const uint32_t headerSize = readLe32(info);
    const int32_t width = int32_t(readLe32(info + 4));
    const int32_t height = int32_t(readLe32(info + 8));
    const unsigned planes = readLe16(info + 12);
    const unsigned bits = readLe16(info + 14);
    const uint32_t compression = readLe32(info + 16);
    if (headerSize != uint32_t(kInfoHeaderSize) || planes != 1 || compression != 0)
        return false;
    if (bits != 24 && bits != 32)
        return false;
    if (width <= 0 || height == 0 || height == INT_MIN)
        return false;
    const bool bottomUp = height > 0;
    const int rows = bottomUp ? height : -height;

    // The pixels start at the file header's offset, after any colour table.
    if (pixelOffset < uint32_t(kFileHeaderSize + kInfoHeaderSize))
        return false;
    const uint64_t rowBytes = ((uint64_t(bits) * uint64_t(width) + 31) & ~uint64_t(31)) / 8;
    const uint64_t needed = uint64_t(pixelOffset) + rowBytes * uint64_t(rows);
    if (availableBytes != kUnknownLength && needed > availableBytes)
        return false;
    if (rowBytes > 0x7FFFFFFFu || !headerSizeTrusted(rowBytes * uint64_t(rows), availableBytes))
        return false;

    const int format = bits == 24 ? kFormatBgr : kFormatBgra;
    if (!image.create(width, rows, format))
        return false;
    if (image.width() != width || image.height() != rows || image.format() != format)
        return false;
    if (!skipBytes(stream, pixelOffset - uint32_t(kFileHeaderSize + kInfoHeaderSize)))
        return false;

    std::vector<unsigned char> fileRow(static_cast<size_t>(rowBytes));
    const size_t pixelBytes = size_t(width) * image.step();
    for (int k = 0; k < rows; ++k) {
        if (readFully(stream, fileRow.data(), fileRow.size()) != fileRow.size())
            return false;
        unsigned char* target = image.row(bottomUp ? rows - 1 - k : k);
        std::copy(fileRow.begin(), fileRow.begin() + pixelBytes, target);
    }
    if (format == kFormatBgra && hasOnlyZeroAlpha(image))
        makeOpaque(image);
    return true;
}

bool BmpCodec::load(Image& image, const String& path)
{
    try {
        FileReader reader(path);
        const uint32_t size = reader.size();
        return readBmp(image, reader, size);
    } catch (...) {
        return false;
    }
}

bool canSaveBmp(const Image& image)
{
    return (image.format() == kFormatBgr || image.format() == kFormatBgra) && !image.isEmpty();
}

bool writeBmp(const Image& image, ByteSink& sink)
{
    if (!canSaveBmp(image))
        return false;
    const unsigned bits = image.step() * 8;
    const uint64_t rowBytes = ((uint64_t(bits) * uint64_t(image.width()) + 31) & ~uint64_t(31)) / 8;
    const uint64_t pixelBytes = rowBytes * uint64_t(image.height());
    const uint64_t fileSize = kFileHeaderSize + kInfoHeaderSize + pixelBytes;
    if (fileSize > 0x7FFFFFFFu)
        return false;

    unsigned char headers[kFileHeaderSize + kInfoHeaderSize] = {};
    unsigned char* info = headers + kFileHeaderSize;
    putLe16(headers, 0x4D42);
    putLe32(headers + 2, uint32_t(fileSize));
    putLe32(headers + 10, kFileHeaderSize + kInfoHeaderSize);
    putLe32(info, kInfoHeaderSize);
    putLe32(info + 4, uint32_t(image.width()));
    putLe32(info + 8, uint32_t(image.height()));
    putLe16(info + 12, 1);
    putLe16(info + 14, bits);
    putLe32(info + 20, uint32_t(pixelBytes));
    // 72 dots per inch.
    putLe32(info + 24, 2835);
    putLe32(info + 28, 2835);
    if (!writeFully(sink, headers, sizeof headers))
        return false;

    // Formats 4 and 6 hold B,G,R(,A): file rows are the image rows, bottom up.
    std::vector<unsigned char> fileRow(static_cast<size_t>(rowBytes), 0);
    const size_t used = size_t(image.width()) * image.step();
    for (int y = image.height() - 1; y >= 0; --y) {
        std::copy(image.row(y), image.row(y) + used, fileRow.begin());
        if (!writeFully(sink, fileRow.data(), fileRow.size()))
            return false;
    }
    return true;
}

bool BmpCodec::save(const Image& image, const String& path)
{
    if (!canSaveBmp(image))
        return false;
    try {
        FileWriter writer(path, 0);
        return writeBmp(image, writer);
    } catch (...) {
        return false;
    }
}
