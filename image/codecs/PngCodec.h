#pragma once

#include "image/codecs/ImageCodec.h"

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
bool readPng(Image& image, ByteStream& stream);
bool writePng(const Image& image, ByteSink& sink);
