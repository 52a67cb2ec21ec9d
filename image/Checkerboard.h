#pragma once

#include "image/Pixel.h"

class Image;

// 8 x 8 pixel cells drawn behind transparent images: the second colour where
// bit 3 of x equals bit 3 of y, the first elsewhere.
class Checkerboard
{
public:
    Checkerboard(const Pixel& first, const Pixel& second) : first(first), second(second) {}

    bool fill(Image& image) const;

    Pixel first;
    Pixel second;
};
