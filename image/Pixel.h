#pragma once

#include <cstdint>

// One packed pixel: bytes B, G, R, A in memory, so the little-endian word
// reads 0xAARRGGBB.
struct Pixel
{
    Pixel() : b(0), g(0), r(0), a(0) {}
    Pixel(uint8_t r_, uint8_t g_, uint8_t b_, uint8_t a_) : b(b_), g(g_), r(r_), a(a_) {}

    static Pixel fromWord(uint32_t w)
    {
        Pixel p;
        p.b = uint8_t(w);
        p.g = uint8_t(w >> 8);
        p.r = uint8_t(w >> 16);
        p.a = uint8_t(w >> 24);
        return p;
    }
    uint32_t word() const
    {
        return uint32_t(b) | (uint32_t(g) << 8) | (uint32_t(r) << 16) | (uint32_t(a) << 24);
    }

    bool operator==(const Pixel& o) const { return word() == o.word(); }
    bool operator!=(const Pixel& o) const { return word() != o.word(); }

    uint8_t b;
    uint8_t g;
    uint8_t r;
    uint8_t a;
};

static_assert(sizeof(Pixel) == 4, "Pixel must be one packed word");

// Moves a toward b by weight / 256 on all four channels: per channel
// a + ((b - a) * weight + 127) / 256 rounded toward minus infinity, two
// channels per multiplication. Weight 0 gives a; 255 stops one short of b.
inline Pixel mixPixels(const Pixel& a, const Pixel& b, uint8_t weight)
{
    if (weight == 0)
        return a;
    // Modulo 2^32 arithmetic: a negative low-channel step borrows from the
    // bits between the channels and is paid back by the masked result, so
    // each channel comes out exact; only bits below 24 of the shifted
    // products are kept, so the shift kind does not matter.
    const uint32_t w = weight;
    const uint32_t wa = a.word();
    const uint32_t wb = b.word();
    const uint32_t pa = wa & 0x00FF00FFu;
    const uint32_t pb = wb & 0x00FF00FFu;
    const uint32_t qa = (wa >> 8) & 0x00FF00FFu;
    const uint32_t qb = (wb >> 8) & 0x00FF00FFu;
    const uint32_t p = pa + ((((pb - pa) * w) + 0x007F007Fu) >> 8);
    const uint32_t q = qa + ((((qb - qa) * w) + 0x007F007Fu) >> 8);
    return Pixel::fromWord((p & 0x00FF00FFu) | ((q << 8) & 0xFF00FF00u));
}

inline void mixPixels(Pixel& out, const Pixel& a, const Pixel& b, uint8_t weight)
{
    out = mixPixels(a, b, weight);
}

// mixPixels, then the larger alpha of a and b.
inline Pixel mixPixelsMaxAlpha(const Pixel& a, const Pixel& b, uint8_t weight)
{
    Pixel p = mixPixels(a, b, weight);
    p.a = a.a > b.a ? a.a : b.a;
    return p;
}
