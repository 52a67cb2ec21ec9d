#pragma once

#include "image/PixelGenerator.h"

// Flattens an image with alpha onto a matte colour; pixels whose alpha is
// below the threshold become belowColour.
class MattePixelGenerator : public ImagePixelGenerator
{
public:
    MattePixelGenerator(const Pixel& belowColour, const Pixel& matteColour, uint8_t threshold);
    void pixel(Pixel& out, const Image& image, int x, int y) override;

    Pixel belowColour;
    Pixel matteColour;
    uint8_t threshold;
};
