#include "image/MattePixelGenerator.h"

#include "image/Image.h"

MattePixelGenerator::MattePixelGenerator(const Pixel& below, const Pixel& matte, uint8_t threshold_)
    : belowColour(below), matteColour(matte), threshold(threshold_)
{
}

void MattePixelGenerator::pixel(Pixel& out, const Image& image, int x, int y)
{
    Pixel p;
    image.getPixel(p, x, y);
    if (p.a < threshold)
        out = belowColour;
    else
        out = mixPixels(matteColour, p, p.a);
}
