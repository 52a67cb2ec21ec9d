#include "image/codecs/ImageLoading.h"

#include "foundation/Base64Decoder.h"
#include "foundation/FixedBufferReader.h"
#include "image/CopyRegion.h"
#include "image/Image.h"
#include "image/OwnedBitmap.h"
#include "image/codecs/BmpCodec.h"
#include "image/codecs/PngCodec.h"
#include "image/codecs/TgaCodec.h"

#include <cstring>

namespace {

const char kPngDataUriPrefix[] = "data:image/png;base64,";

} // namespace

int imageTypeFromFileName(const String& path)
{
    const size_t dot = path.rfind('.');
    String extension = dot == std::string::npos ? path : String(path.substr(dot + 1));
    extension.toLower();
    if (extension == "jpg" || extension == "jpeg" || extension == "jfif")
        return kImageTypeJpeg;
    if (extension == "png")
        return kImageTypePng;
    if (extension == "bmp" || extension == "dib")
        return kImageTypeBmp;
    if (extension == "tga")
        return kImageTypeTga;
    if (extension == "raw")
        return kImageTypeRaw;
    return kImageTypeNone;
}

int imageTypeForMime(const String& mime)
{
    if (mime == "image/jpeg" || mime == "image/jpg")
        return kImageTypeJpeg;
    if (mime == "image/png")
        return kImageTypePng;
    return kImageTypeNone;
}

int imageTypeFor(const String& path, const String& mime)
{
    const int type = imageTypeForMime(mime);
    return type != kImageTypeNone ? type : imageTypeFromFileName(path);
}

String extensionForType(int type)
{
    switch (type) {
    case kImageTypeJpeg: return String("jpg");
    case kImageTypePng: return String("png");
    case kImageTypeBmp: return String("bmp");
    case kImageTypeTga: return String("tga");
    case kImageTypeRaw: return String("raw");
    default: return String();
    }
}

bool loadImageFile(const String& path, Image& image, const String& mime)
{
    switch (imageTypeFor(path, mime)) {
    case kImageTypePng: return PngCodec().load(image, path);
    case kImageTypeBmp: return BmpCodec().load(image, path);
    case kImageTypeTga: return TgaCodec().load(image, path);
    default: return false;
    }
}

bool loadImageOfType(ByteStream& stream, Image& image, int type)
{
    if (type != kImageTypePng)
        return false;
    return readPng(image, stream);
}

bool imageFromDataUri(const String& text, Image& image)
{
    const size_t prefixLength = sizeof kPngDataUriPrefix - 1;
    if (text.compare(0, prefixLength, kPngDataUriPrefix) != 0)
        return false;
    try {
        FixedBufferReader reader(reinterpret_cast<const unsigned char*>(text.data()) + prefixLength,
                                 static_cast<unsigned int>(text.size() - prefixLength));
        Base64Decoder decoder(&reader);
        // Four Base64 characters carry three bytes.
        const uint64_t decoded = uint64_t(text.size() - prefixLength) / 4 * 3 + 3;
        return readPng(image, decoder, decoded < 0xFFFFFFFFu ? uint32_t(decoded) : 0xFFFFFFFEu);
    } catch (...) {
        return false;
    }
}

bool loadImageRegion(RegionConsumer& consumer, const String& path, const Rect* rect, void* argument)
{
    OwnedBitmap loaded;
    if (!loadImageFile(path, loaded, String()))
        return false;
    OwnedBitmap copy;
    if (!loaded.renderInto(copy, nullptr, 0))
        return false;
    if (!rect) {
        CopyRegion whole(loaded, copy, loaded.bounds(), Point(0, 0));
        return consumer.consume(whole, argument);
    }
    CopyRegion region(loaded, copy, *rect, Point(rect->left, rect->top));
    region.clip();
    return consumer.consume(region, argument);
}

bool OwnedBitmap::loadFile(const String& path)
{
    return loadImageFile(path, *this, String());
}

bool OwnedBitmap::loadFromStream(ByteStream& stream, int type)
{
    return loadImageOfType(stream, *this, type);
}
