#pragma once

#include "image/Pixel.h"

class Image;

// Combines a source pixel with the destination pixel it lands on; the result
// is written into the destination.
typedef Pixel (*PixelCombineFunction)(const Pixel& source, const Pixel& destination);

// Computes a destination pixel from the source image at (sx, sy) and the
// current destination pixel.
class PixelCompositor
{
public:
    virtual ~PixelCompositor() {}
    virtual void composite(Pixel& out, const Image& source, int sx, int sy,
                           const Pixel* destination) = 0;
};
