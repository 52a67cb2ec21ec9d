#pragma once

#include "image/Pixel.h"

class Image;

// Per-pixel producer for the fill and apply operations.
class PixelGenerator
{
public:
    virtual ~PixelGenerator() {}
    virtual void pixel(Pixel& out, const Image& image, int x, int y) = 0;
};

// The image's own pixel at (x, y), read unchecked.
class ImagePixelGenerator : public PixelGenerator
{
public:
    void pixel(Pixel& out, const Image& image, int x, int y) override;
};
