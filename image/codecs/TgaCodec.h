#pragma once

#include "image/codecs/ImageCodec.h"

#include <cstdint>

class ByteStream;
class ByteSink;

// Uncompressed true-colour TGA, 24 or 32 bits per pixel.
class TgaCodec : public ImageCodec
{
public:
    bool load(Image& image, const String& path) override;
    bool save(const Image& image, const String& path) override;
};

// Reads the 18-byte header; false on a short read.
bool readTgaHeader(ByteStream& stream, int* imageType, int* colourMapLength, int* width, int* height,
                   int* bitsPerPixel, int* dataOffset, bool* bottomUp);
// Decodes a whole TGA from the stream. availableBytes (when known) lets a
// header that promises more pixels than the data holds be refused before the
// image is allocated.
bool readTga(Image& image, ByteStream& stream, uint32_t availableBytes = 0xFFFFFFFFu);

bool canSaveTga(const Image& image);
bool writeTgaHeader(const Image& image, ByteSink& sink);
bool writeTgaRows(const Image& image, ByteSink& sink);
