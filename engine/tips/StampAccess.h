#pragma once

#include "engine/PixelAccess.h"
#include "image/Image.h"

// Pixel reads and writes for the stamp loops. Hosts mostly hand in
// three-byte B, G, R pixels: that layout, recognised once per stamp, gets
// plain byte access; any other goes through the image's channel table.
enum StampAccess { kStampAnyLayout, kStampBgr };

inline StampAccess stampAccessFor(const Image& image)
{
    const uint8_t* layout = image.channelLayout();
    const bool bgr = image.step() == 3 && layout[kChannelB] == 0 && layout[kChannelG] == 1 &&
                     layout[kChannelR] == 2 && layout[kChannelA] >= 0x80;
    return bgr ? kStampBgr : kStampAnyLayout;
}

// The loops fetch a row's address once: byte stores may alias anything,
// so the image's fields would otherwise be read again for every cell.
inline const uint8_t* stampRow(const Image& image, int y)
{
    return pixelAt(image, 0, y);
}

inline uint8_t* stampRow(Image& image, int y)
{
    return pixelAt(image, 0, y);
}

// Cell x of row y, whose address is `row`.
template <StampAccess A>
inline Pixel stampLoad(const Image& image, const uint8_t* row, int x, int y)
{
    if (A == kStampBgr) {
        const uint8_t* p = row + 3 * x;
        return Pixel(p[2], p[1], p[0], 255); // no alpha channel reads as opaque
    }
    return loadPixel(image, x, y);
}

template <StampAccess A>
inline void stampStore(Image& image, uint8_t* row, int x, int y, const Pixel& px)
{
    if (A == kStampBgr) {
        uint8_t* p = row + 3 * x;
        p[0] = px.b;
        p[1] = px.g;
        p[2] = px.r;
        return;
    }
    storePixel(image, x, y, px);
}
