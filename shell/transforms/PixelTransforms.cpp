#include "shell/transforms/PixelTransforms.h"

#include <cstring>

#include "image/Image.h"

void swapBytes(unsigned char* a, unsigned char* b, size_t count)
{
    // A fixed buffer instead of a heap one: a swap cannot run out of memory.
    unsigned char buffer[256];
    while (count > 0) {
        const size_t n = count < sizeof buffer ? count : sizeof buffer;
        std::memcpy(buffer, a, n);
        std::memcpy(a, b, n);
        std::memcpy(b, buffer, n);
        a += n;
        b += n;
        count -= n;
    }
}

static void reverseRow(unsigned char* row, int width, size_t step)
{
    unsigned char* left = row;
    unsigned char* right = row + (width - 1) * step;
    for (int x = 0; x < width / 2; ++x, left += step, right -= step)
        swapBytes(left, right, step);
}

bool flipVertical(Image& image)
{
    if (image.isEmpty())
        return true;
    const size_t rowBytes = size_t(image.width()) * image.step();
    for (int y = 0; y < image.height() / 2; ++y)
        swapBytes(image.row(y), image.row(image.height() - 1 - y), rowBytes);
    return true;
}

bool mirrorHorizontal(Image& image)
{
    if (image.isEmpty())
        return true;
    for (int y = 0; y < image.height(); ++y)
        reverseRow(image.row(y), image.width(), image.step());
    return true;
}

bool rotate180(Image& image)
{
    if (image.isEmpty())
        return true;
    const size_t step = image.step();
    const int width = image.width();
    const int height = image.height();
    for (int y = 0; y < height / 2; ++y) {
        unsigned char* top = image.row(y);
        unsigned char* bottom = image.row(height - 1 - y) + (width - 1) * step;
        for (int x = 0; x < width; ++x, top += step, bottom -= step)
            swapBytes(top, bottom, step);
    }
    if (height % 2)
        reverseRow(image.row(height / 2), width, step);
    return true;
}

static bool fitsTurned(const Image& source, const Image& destination)
{
    return !source.isEmpty() && !destination.isEmpty()
        && destination.width() == source.height() && destination.height() == source.width()
        && destination.step() == source.step();
}

bool rotate90Clockwise(const Image& source, Image& destination)
{
    if (!fitsTurned(source, destination))
        return false;
    const size_t step = source.step();
    const int height = source.height();
    for (int y = 0; y < height; ++y) {
        const unsigned char* s = source.row(y);
        for (int x = 0; x < source.width(); ++x, s += step)
            std::memcpy(destination.pixelAddress(height - 1 - y, x), s, step);
    }
    return true;
}

bool rotate90CounterClockwise(const Image& source, Image& destination)
{
    if (!fitsTurned(source, destination))
        return false;
    const size_t step = source.step();
    const int width = source.width();
    for (int y = 0; y < source.height(); ++y) {
        const unsigned char* s = source.row(y);
        for (int x = 0; x < width; ++x, s += step)
            std::memcpy(destination.pixelAddress(y, width - 1 - x), s, step);
    }
    return true;
}
