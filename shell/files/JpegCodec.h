#pragma once

#include "image/codecs/ImageCodec.h"

#include <cstdint>

class ByteStream;
class ByteSink;

// JPEG through libjpeg's IJG interface. 8-bit grey, YCbCr and RGB files are
// read (grey as format 2, colour as format 4); images of format 4 and 6 are
// written as YCbCr at the codec's quality, alpha dropped.
class JpegCodec : public ImageCodec
{
public:
    explicit JpegCodec(int quality = 80) : quality(quality) {}

    bool load(Image& image, const String& path) override;
    bool save(const Image& image, const String& path) override;

    // 1..100 as libjpeg takes it; values outside are clamped by the library.
    int quality;
};

// True for images of 3 bytes per pixel: what the save-as choice offers.
bool canSaveJpeg(const Image& image);

// availableBytes (when known) lets a header that claims more blocks than the
// rest of the data can code be refused before the image is allocated.
bool readJpeg(Image& image, ByteStream& stream, uint32_t availableBytes = 0xFFFFFFFFu);
bool writeJpeg(const Image& image, ByteSink& sink, int quality);
