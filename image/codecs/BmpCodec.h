#pragma once

#include "image/codecs/ImageCodec.h"

#include <cstdint>

class ByteStream;
class ByteSink;

// Uncompressed 24- and 32-bit BMP files. Formats 4 and 6 are written bottom-up
// with a 40-byte info header.
class BmpCodec : public ImageCodec
{
public:
    bool load(Image& image, const String& path) override;
    bool save(const Image& image, const String& path) override;
};

// Decodes a whole BMP file from the stream; availableBytes (when known) lets a
// header that promises more rows than the data holds be refused before the
// image is allocated.
bool readBmp(Image& image, ByteStream& stream, uint32_t availableBytes = 0xFFFFFFFFu);
bool canSaveBmp(const Image& image);
bool writeBmp(const Image& image, ByteSink& sink);

// True when every alpha byte of a four-byte image is 0 (what most programs
// write into 32-bit BMPs and DIBs); such images are meant to be opaque.
bool hasOnlyZeroAlpha(Image& image);
void makeOpaque(Image& image);
