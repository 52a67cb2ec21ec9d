#pragma once

#include <cstddef>

class Image;

// Geometric transforms that move whole pixels as byte groups of the pixel
// step, so they work for every pixel format.

// Exchanges two byte ranges of count bytes.
void swapBytes(unsigned char* a, unsigned char* b, size_t count);

// In place; each is its own inverse. An image without pixels is left alone.
bool flipVertical(Image& image);
bool mirrorHorizontal(Image& image);
bool rotate180(Image& image);

// Source (x, y) goes to destination (height-1-y, x), resp. (y, width-1-x).
// The destination must already be height x width with the same pixel step;
// false, writing nothing, when it is not.
bool rotate90Clockwise(const Image& source, Image& destination);
bool rotate90CounterClockwise(const Image& source, Image& destination);
