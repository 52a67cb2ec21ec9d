#include "engine/tips/TipMask.h"

#include <cmath>

#include "foundation/Numeric.h"

TipMask::TipMask() : width_(1), height_(1), channels_(1), bytes_(1, 0)
{
}

TipMask::~TipMask()
{
}

void TipMask::resize(int width, int height)
{
    if (width < 0)
        width = 0;
    if (height < 0)
        height = 0;
    std::vector<uint8_t> fresh(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    bytes_.swap(fresh);
    width_ = width;
    height_ = height;
}

int TipMask::sizeForRadius(float radius)
{
    const double size = std::ceil(2.0 * static_cast<double>(radius));
    if (!(size >= 1.0))
        return 0;
    return size > 2048.0 ? 2048 : static_cast<int>(size);
}

uint64_t TipMask::sum() const
{
    uint64_t total = 0;
    for (uint8_t b : bytes_)
        total += b;
    return total;
}

uint8_t TipMask::cell(int x, int y) const
{
    if (width_ <= 0 || height_ <= 0)
        return 0;
    x = clampInt(x, 0, width_ - 1);
    y = clampInt(y, 0, height_ - 1);
    return bytes_[static_cast<size_t>(width_) * y + x];
}

uint8_t TipMask::sample(float x, float y) const
{
    const int ix = roundToInt(x - 0.5f);
    const int iy = roundToInt(y - 0.5f);
    const float fx = x - static_cast<float>(ix);
    const float fy = y - static_cast<float>(iy);
    const int wx = clampInt(roundToInt(fx * 255.99f - 0.5f), 0, 255);
    const int wy = clampInt(roundToInt(fy * 255.99f - 0.5f), 0, 255);
    const int x1 = ix == 2147483647 ? ix : ix + 1;
    const int y1 = iy == 2147483647 ? iy : iy + 1;
    const int a = cell(ix, iy), b = cell(x1, iy);
    const int c = cell(ix, y1), d = cell(x1, y1);
    const int top = a + (((b - a) * wx + 127) >> 8);
    const int bottom = c + (((d - c) * wx + 127) >> 8);
    return static_cast<uint8_t>(top + (((bottom - top) * wy + 127) >> 8));
}

void TipMask::sampleSpan(float x, float y, float dx, float dy, int count, uint8_t*& cursor) const
{
    for (int i = 0; i < count; ++i) {
        *cursor++ = sample(x, y);
        x += dx;
        y += dy;
    }
}
