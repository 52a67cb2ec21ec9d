#pragma once

#include "foundation/String.h"

class ByteStream;
class Image;
class Rect;
class CopyRegion;

// Image type numbers. The library decodes PNG, BMP and TGA; JPEG is recognised
// so that the shell can add its own codec.
enum ImageType
{
    kImageTypeNone = 0,
    kImageTypeJpeg = 1,
    kImageTypePng = 2,
    kImageTypeBmp = 3,
    kImageTypeTga = 4,
    kImageTypeRaw = 5
};

int imageTypeFromFileName(const String& path);
int imageTypeForMime(const String& mime);
int imageTypeFor(const String& path, const String& mime);
String extensionForType(int type);

// Decodes by MIME type, or by the path's extension when the MIME text names no
// known type.
bool loadImageFile(const String& path, Image& image, const String& mime);
// Only PNG data can come from a stream.
bool loadImageOfType(ByteStream& stream, Image& image, int type);
// "data:image/png;base64," followed by Base64 PNG data.
bool imageFromDataUri(const String& text, Image& image);

// Receives a copy request from loadImageRegion.
class RegionConsumer
{
public:
    virtual ~RegionConsumer() {}
    virtual bool consume(CopyRegion& region, void* argument) = 0;
};

// Loads the file, renders it into a second image and hands the consumer a
// region from the first to the second: the whole image at (0, 0), or the given
// rectangle (clipped) placed at its own top-left corner.
bool loadImageRegion(RegionConsumer& consumer, const String& path, const Rect* rect, void* argument);
