#pragma once

#include <cstddef>
#include <cstring>

#include "image/Image.h"

// Inline twins of Image::getPixel and Image::setPixel for the painting loops,
// which read and write a few pixels per dab millions of times a render: the
// out-of-line calls cost more than the pixel work. Same layout rules, same
// bytes; coordinates are not checked.

inline const uint8_t* pixelAt(const Image& image, int x, int y)
{
    return image.bits() + ptrdiff_t(y) * ptrdiff_t(image.stride()) + x * int(image.step());
}

inline uint8_t* pixelAt(Image& image, int x, int y)
{
    return image.bits() + ptrdiff_t(y) * ptrdiff_t(image.stride()) + x * int(image.step());
}

// The same for a pixel already addressed (p from pixelAt).
inline Pixel loadPixelAt(const Image& image, const uint8_t* p)
{
    Pixel out;
    if (image.format() == kFormatBgra) {
        std::memcpy(&out, p, 4);
        return out;
    }
    const uint8_t* layout = image.channelLayout();
    out.r = layout[kChannelR] >= 0x80 ? 0 : p[layout[kChannelR]];
    out.g = layout[kChannelG] >= 0x80 ? 0 : p[layout[kChannelG]];
    out.b = layout[kChannelB] >= 0x80 ? 0 : p[layout[kChannelB]];
    out.a = layout[kChannelA] >= 0x80 ? 255 : p[layout[kChannelA]];
    return out;
}

inline void storePixelAt(Image& image, uint8_t* p, const Pixel& px)
{
    if (image.format() == kFormatBgra) {
        std::memcpy(p, &px, 4);
        return;
    }
    const uint8_t* layout = image.channelLayout();
    if (layout[kChannelR] < 0x80)
        p[layout[kChannelR]] = px.r;
    if (layout[kChannelG] < 0x80)
        p[layout[kChannelG]] = px.g;
    if (layout[kChannelB] < 0x80)
        p[layout[kChannelB]] = px.b;
    if (layout[kChannelA] < 0x80)
        p[layout[kChannelA]] = px.a;
}

inline Pixel loadPixel(const Image& image, int x, int y)
{
    return loadPixelAt(image, pixelAt(image, x, y));
}

inline void storePixel(Image& image, int x, int y, const Pixel& px)
{
    storePixelAt(image, pixelAt(image, x, y), px);
}
