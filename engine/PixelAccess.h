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

// The format and channel offsets of an image read once, for a dab that
// reads and writes a few pixels: a byte store may alias the image's own
// fields, so the helpers above reload them after every store.
struct PixelLayout {
    explicit PixelLayout(const Image& image)
        : bgra(image.format() == kFormatBgra), r(image.channelLayout()[kChannelR]),
          g(image.channelLayout()[kChannelG]), b(image.channelLayout()[kChannelB]),
          a(image.channelLayout()[kChannelA])
    {
    }

    Pixel load(const uint8_t* p) const
    {
        Pixel out;
        if (bgra) {
            std::memcpy(&out, p, 4);
            return out;
        }
        out.r = r >= 0x80 ? 0 : p[r];
        out.g = g >= 0x80 ? 0 : p[g];
        out.b = b >= 0x80 ? 0 : p[b];
        out.a = a >= 0x80 ? 255 : p[a];
        return out;
    }

    void store(uint8_t* p, const Pixel& px) const
    {
        if (bgra) {
            std::memcpy(p, &px, 4);
            return;
        }
        if (r < 0x80)
            p[r] = px.r;
        if (g < 0x80)
            p[g] = px.g;
        if (b < 0x80)
            p[b] = px.b;
        if (a < 0x80)
            p[a] = px.a;
    }

    bool bgra;
    uint8_t r, g, b, a; // byte offsets; 0x80 and up: no such channel
};
