#pragma once

#include "image/codecs/ImageCodec.h"

#include <cstdint>

class ByteStream;
class ByteSink;

// PNG through libpng: 8-bit grey, RGB and RGBA (interlaced or not) are read;
// grey, RGB and RGBA are written.
class PngCodec : public ImageCodec
{
public:
    bool load(Image& image, const String& path) override;
    bool save(const Image& image, const String& path) override;
};

bool canSavePng(const Image& image);
// availableBytes (when known) lets a header that promises more pixels than
// the data could inflate to be refused before the image is allocated.
bool readPng(Image& image, ByteStream& stream, uint32_t availableBytes = 0xFFFFFFFFu);
bool writePng(const Image& image, ByteSink& sink);
