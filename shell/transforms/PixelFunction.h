#pragma once

#include "image/Pixel.h"

class Image;
class RenderCallbacks;

// Computes the new value of one pixel from the source image.
class PixelFunction
{
public:
    virtual ~PixelFunction() {}
    // The new pixel (x, y); the position is clamped into the image.
    virtual Pixel pixelAt(const Image& source, int x, int y) const = 0;
    // Writes row y of the destination at once, with the bytes pixelAt would
    // give, when the function has a way for these images; false otherwise.
    virtual bool mapRow(const Image&, int, Image&) const { return false; }
};

// Writes function(source, x, y) into every pixel of the destination, row by
// row, reporting progress after every odd row. False when the callbacks stop
// the run (the rows done so far stay written) or the destination is smaller
// than the source.
bool runPixelFunction(const PixelFunction& function, const Image& source, Image& destination,
                      RenderCallbacks& callbacks);
// The same with the image as source and destination: for functions that read
// only the pixel itself.
bool runPixelFunctionInPlace(const PixelFunction& function, Image& image,
                             RenderCallbacks& callbacks);
