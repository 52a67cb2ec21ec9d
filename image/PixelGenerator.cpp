#include "image/PixelGenerator.h"

#include "image/Image.h"

void ImagePixelGenerator::pixel(Pixel& out, const Image& image, int x, int y)
{
    image.getPixel(out, x, y);
}
