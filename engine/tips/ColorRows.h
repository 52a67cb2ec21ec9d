#pragma once

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/tips/DefaultBlend.h"
#include "image/Pixel.h"
#include "image/PixelAccess.h"

// What the colour and the copy rows share: the layouts they serve, and the
// default blend (defaultBlend) on 16-bit SSE2 lanes.
namespace rowlanes {

// The bytes per cell of a layout the rows serve, else 0: three colour
// bytes, or four with alpha when the stamp's alpha is fixed (alpha >= 0).
inline int cellBytes(const PixelLayout& layout, int alpha)
{
    const auto bit = [](uint8_t offset) { return offset < 8 ? 1u << offset : 0x100u; };
    const unsigned colours = bit(layout.r) | bit(layout.g) | bit(layout.b);
    if (layout.step == 3 && colours == 7u)
        return 3;
    if (layout.step == 4 && (colours | bit(layout.a)) == 15u && alpha >= 0)
        return 4;
    return 0;
}

inline __m128i load8(const int16_t* v)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(v));
}

inline __m128i loadBytes8(const uint8_t* p)
{
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
}

// Twelve bytes from p as lanes 0..7 and 8..11.
inline void loadBytes12(const uint8_t* p, __m128i& a, __m128i& b)
{
    uint32_t tail;
    std::memcpy(&tail, p + 8, 4);
    a = _mm_unpacklo_epi8(loadBytes8(p), _mm_setzero_si128());
    b = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(tail)), _mm_setzero_si128());
}

inline void storeBytes12(uint8_t* p, __m128i a, __m128i b)
{
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_packus_epi16(a, a));
    const uint32_t tail = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(b, b)));
    std::memcpy(p + 8, &tail, 4);
}

// The weights of four three-byte cells (w4's bytes, first cell lowest)
// per byte lane: w0 w0 w0 w1 w1 w1 w2 w2, then w2 w3 w3 w3.
inline void weights3(uint32_t w4, __m128i& a, __m128i& b)
{
    __m128i w = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(w4)), _mm_setzero_si128());
    w = _mm_unpacklo_epi64(w, w);
    a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(w, _MM_SHUFFLE(1, 0, 0, 0)),
                            _MM_SHUFFLE(2, 2, 1, 1));
    b = _mm_shufflelo_epi16(w, _MM_SHUFFLE(3, 3, 3, 2));
}

// The weights of two four-byte cells (w2's bytes, first cell lowest) per
// byte lane; alpha lanes take 256 where the weight is not 0, which steps
// them to the colour's alpha exactly.
inline __m128i weights4(unsigned w2, __m128i alphaLanes)
{
    const __m128i zero = _mm_setzero_si128();
    __m128i w = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(w2)), zero);
    w = _mm_unpacklo_epi64(w, w);
    w = _mm_shufflehi_epi16(_mm_shufflelo_epi16(w, _MM_SHUFFLE(0, 0, 0, 0)),
                            _MM_SHUFFLE(1, 1, 1, 1));
    const __m128i wAlpha = _mm_andnot_si128(_mm_cmpeq_epi16(w, zero), _mm_set1_epi16(256));
    return _mm_or_si128(_mm_andnot_si128(alphaLanes, w), _mm_and_si128(alphaLanes, wAlpha));
}

// defaultBlend(c, w, d) per 16-bit lane, to the same bytes; the products
// need 32 bits, so each lane pairs with 1 * 127 in a multiply-add.
inline __m128i lanes(__m128i d, __m128i c, __m128i w)
{
    const __m128i x = _mm_sub_epi16(c, d);
    const __m128i one = _mm_set1_epi16(1);
    const __m128i bias = _mm_set1_epi16(127);
    const __m128i lo = _mm_madd_epi16(_mm_unpacklo_epi16(x, one), _mm_unpacklo_epi16(w, bias));
    const __m128i hi = _mm_madd_epi16(_mm_unpackhi_epi16(x, one), _mm_unpackhi_epi16(w, bias));
    return _mm_add_epi16(d, _mm_packs_epi32(_mm_srai_epi32(lo, 8), _mm_srai_epi32(hi, 8)));
}

} // namespace rowlanes

// One mask row of a one-colour stamp with the default blend and no
// brightness change, several cells per SSE2 step: every colour byte d
// becomes defaultBlend(c, w, d) with the cell's weight w, as in the plain
// loop, so the bytes are the same. Three-byte rows take four cells a step,
// four-byte rows two; a cell of weight 0 comes out unchanged, and in
// four-byte rows the alpha byte of every cell with a non-zero weight becomes
// the fixed alpha.
class ColorRow {
public:
    // Served for the layouts rowlanes::cellBytes serves; the others take
    // the plain loop.
    ColorRow(const PixelLayout& layout, const Pixel& colour, int alpha)
        : step_(rowlanes::cellBytes(layout, alpha)), colour_(), alphaLanes_()
    {
        if (step_ == 0)
            return;
        // Four three-byte cells or two four-byte ones.
        const int cellLanes = step_ == 3 ? 12 : 8;
        for (int i = 0; i < cellLanes; i += step_) {
            colour_[i + layout.r] = colour.r;
            colour_[i + layout.g] = colour.g;
            colour_[i + layout.b] = colour.b;
            if (step_ == 4) {
                colour_[i + layout.a] = static_cast<int16_t>(alpha);
                alphaLanes_[i + layout.a] = -1;
            }
        }
    }

    bool served() const { return step_ != 0; }

    // Cells 0..count-1 of a row from p on, weights from m on.
    void blend(uint8_t* p, const uint8_t* m, int count) const
    {
        using namespace rowlanes;
        const __m128i colourA = load8(colour_);
        int j = 0;
        if (step_ == 3) {
            const __m128i colourB = load8(colour_ + 8);
            for (; j + 4 <= count; j += 4, p += 12) {
                uint32_t w4;
                std::memcpy(&w4, m + j, 4);
                __m128i wA, wB, dA, dB;
                weights3(w4, wA, wB);
                loadBytes12(p, dA, dB);
                storeBytes12(p, lanes(dA, colourA, wA), lanes(dB, colourB, wB));
            }
            for (; j < count; ++j, p += 3)
                for (int c = 0; c < 3; ++c)
                    p[c] = defaultBlend(colour_[c], m[j], p[c]);
            return;
        }
        const __m128i alphaLanes = load8(alphaLanes_);
        for (; j + 2 <= count; j += 2, p += 8) {
            const __m128i w = weights4(m[j] | (m[j + 1] << 8), alphaLanes);
            const __m128i d = _mm_unpacklo_epi8(loadBytes8(p), _mm_setzero_si128());
            const __m128i r = lanes(d, colourA, w);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_packus_epi16(r, r));
        }
        for (; j < count; ++j, p += 4)
            for (int c = 0; c < 4; ++c)
                p[c] = alphaLanes_[c] ? (m[j] ? static_cast<uint8_t>(colour_[c]) : p[c])
                                      : defaultBlend(colour_[c], m[j], p[c]);
    }

private:
    // rowlanes::cellBytes of the layout: 3, 4, or 0 when not served.
    int step_;
    // The colour per byte lane of four three-byte cells (and four spare
    // lanes for the 8-lane load) or two four-byte cells, in the layout's order.
    int16_t colour_[16];
    // -1 in the alpha lanes of two four-byte cells.
    int16_t alphaLanes_[8];
};

// One mask row of the copy stamp with the default blend and no brightness
// change: each destination cell steps toward its source cell as ColorRow's
// cells step toward the colour, with the same bytes as the plain loop. The
// cells are taken in the stamp's walking order, dir +1 or -1 cells a step
// from the first cell's bytes. A group of lanes reads all its sources before
// it writes: a row whose source cells lie where earlier cells of the same
// group write (the copy smearing within a lane's reach) must take the plain
// loop, which safe() tells.
class CopyRow {
public:
    // Served when both layouts are the same and rowlanes::cellBytes serves
    // them.
    CopyRow(const PixelLayout& destination, const PixelLayout& source, int alpha)
        : step_(sameLayout(destination, source) ? rowlanes::cellBytes(destination, alpha) : 0),
          alphaLanes_(), alpha_()
    {
        if (step_ != 4)
            return;
        for (int i = 0; i < 8; i += 4) {
            alphaLanes_[i + destination.a] = -1;
            alpha_[i + destination.a] = static_cast<int16_t>(alpha);
        }
    }

    bool served() const { return step_ != 0; }

    // False when a cell from source on reads bytes that an earlier cell of
    // its group writes from destination on.
    bool safe(const uint8_t* destination, const uint8_t* source, int dir) const
    {
        const long long ahead =
            (static_cast<long long>(reinterpret_cast<uintptr_t>(destination)) -
             static_cast<long long>(reinterpret_cast<uintptr_t>(source))) * dir;
        return ahead <= 0 || ahead >= (step_ == 3 ? 12 : 8);
    }

    // Cells 0..count-1 from d and s on, weights m[0..count-1] in walking order.
    void blend(uint8_t* d, const uint8_t* s, const uint8_t* m, int count, int dir) const
    {
        using namespace rowlanes;
        int j = 0;
        if (step_ == 3) {
            for (; j + 4 <= count; j += 4) {
                // Lowest address first: walking left, the group's last cell.
                const std::ptrdiff_t at = dir > 0 ? 3 * j : -3 * (j + 3);
                uint32_t w4;
                std::memcpy(&w4, m + j, 4);
                if (dir < 0)
                    w4 = __builtin_bswap32(w4);
                __m128i wA, wB, dA, dB, sA, sB;
                weights3(w4, wA, wB);
                loadBytes12(d + at, dA, dB);
                loadBytes12(s + at, sA, sB);
                storeBytes12(d + at, lanes(dA, sA, wA), lanes(dB, sB, wB));
            }
        } else {
            const __m128i alphaLanes = load8(alphaLanes_);
            const __m128i alpha = load8(alpha_);
            for (; j + 2 <= count; j += 2) {
                const std::ptrdiff_t at = dir > 0 ? 4 * j : -4 * (j + 1);
                const unsigned w2 = dir > 0 ? m[j] | (m[j + 1] << 8) : m[j + 1] | (m[j] << 8);
                const __m128i w = weights4(w2, alphaLanes);
                const __m128i zero = _mm_setzero_si128();
                const __m128i dv = _mm_unpacklo_epi8(loadBytes8(d + at), zero);
                __m128i sv = _mm_unpacklo_epi8(loadBytes8(s + at), zero);
                sv = _mm_or_si128(_mm_andnot_si128(alphaLanes, sv), alpha);
                const __m128i r = lanes(dv, sv, w);
                _mm_storel_epi64(reinterpret_cast<__m128i*>(d + at), _mm_packus_epi16(r, r));
            }
        }
        // The rest cell by cell, each source read whole before its write.
        for (; j < count; ++j) {
            const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(dir) * step_ * j;
            if (m[j] == 0)
                continue;
            uint8_t source[4];
            std::memcpy(source, s + at, static_cast<size_t>(step_));
            for (int c = 0; c < step_; ++c)
                d[at + c] = alphaLanes_[c] ? static_cast<uint8_t>(alpha_[c])
                                           : defaultBlend(source[c], m[j], d[at + c]);
        }
    }

private:
    static bool sameLayout(const PixelLayout& d, const PixelLayout& s)
    {
        return d.step == s.step && d.r == s.r && d.g == s.g && d.b == s.b && d.a == s.a;
    }

    // rowlanes::cellBytes of the layouts: 3, 4, or 0 when not served.
    int step_;
    // -1 and the fixed alpha in the alpha lanes of two four-byte cells.
    int16_t alphaLanes_[8];
    int16_t alpha_[8];
};
