#include "image/Checkerboard.h"

#include "image/Image.h"

bool Checkerboard::fill(Image& image) const
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, ((x & 8) == 0) == ((y & 8) == 0) ? second : first);
    return true;
}
