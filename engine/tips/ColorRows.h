#pragma once

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "image/Pixel.h"
#include "image/PixelAccess.h"

// One mask row of a one-colour stamp with the default blend and no
// brightness change, several cells per SSE2 step: every colour byte d
// becomes d + (((c - d) * w + 127) >> 8) with the cell's weight w, the
// exact integer arithmetic of the plain loop, so the bytes are the same.
// Three-byte B, G, R rows take four cells a step, four-byte rows two; a
// cell of weight 0 comes out unchanged, and in four-byte rows the alpha
// byte of every other cell becomes the fixed alpha.
class ColorRow {
public:
    // False for layouts it does not serve (then use the plain loop): four
    // bytes per pixel need all four channels.
    ColorRow(const PixelLayout& layout, bool bgr, const Pixel& colour, int alpha)
        : bgr_(bgr), served_(bgr || (layout.step == 4 && layout.r < 4 && layout.g < 4 &&
                                     layout.b < 4 && layout.a < 4 && alpha >= 0)),
          colour_(), alphaLanes_()
    {
        if (bgr) {
            for (int i = 0; i < 12; i += 3) {
                colour_[i] = colour.b;
                colour_[i + 1] = colour.g;
                colour_[i + 2] = colour.r;
            }
        } else if (served_) {
            for (int i = 0; i < 8; i += 4) {
                colour_[i + layout.r] = colour.r;
                colour_[i + layout.g] = colour.g;
                colour_[i + layout.b] = colour.b;
                colour_[i + layout.a] = static_cast<int16_t>(alpha);
                alphaLanes_[i + layout.a] = -1;
            }
        }
    }

    bool served() const { return served_; }

    // Cells 0..count-1 of a row from p on, weights from m on.
    void blend(uint8_t* p, const uint8_t* m, int count) const
    {
        const __m128i zero = _mm_setzero_si128();
        const __m128i colourA = load8(colour_);
        int j = 0;
        if (bgr_) {
            for (; j + 4 <= count; j += 4, p += 12) {
                uint32_t w4;
                std::memcpy(&w4, m + j, 4);
                __m128i w = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(w4)), zero);
                w = _mm_unpacklo_epi64(w, w);
                // Lanes w0 w0 w0 w1 w1 w1 w2 w2, then w2 w3 w3 w3.
                const __m128i wA = _mm_shufflehi_epi16(_mm_shufflelo_epi16(w, 0x40), 0xA5);
                const __m128i wB = _mm_shufflelo_epi16(w, 0xFE);
                uint32_t tail;
                std::memcpy(&tail, p + 8, 4);
                const __m128i dA = _mm_unpacklo_epi8(loadBytes8(p), zero);
                const __m128i dB =
                    _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(tail)), zero);
                const __m128i rA = lanes(dA, colourA, wA);
                const __m128i rB = lanes(dB, load8(colour_ + 8), wB);
                _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_packus_epi16(rA, rA));
                tail = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(rB, rB)));
                std::memcpy(p + 8, &tail, 4);
            }
            for (; j < count; ++j, p += 3)
                for (int c = 0; c < 3; ++c)
                    p[c] = byteToward(p[c], colour_[c], m[j]);
            return;
        }
        const __m128i opaque = _mm_set1_epi16(256);
        const __m128i alphaLanes = load8(alphaLanes_);
        for (; j + 2 <= count; j += 2, p += 8) {
            __m128i w = _mm_unpacklo_epi8(_mm_cvtsi32_si128(m[j] | (m[j + 1] << 8)), zero);
            w = _mm_unpacklo_epi64(w, w);
            w = _mm_shufflehi_epi16(_mm_shufflelo_epi16(w, 0x00), 0x55);
            // Weight 256 takes the alpha lane to the fixed alpha exactly.
            const __m128i wAlpha = _mm_andnot_si128(_mm_cmpeq_epi16(w, zero), opaque);
            w = _mm_or_si128(_mm_andnot_si128(alphaLanes, w), _mm_and_si128(alphaLanes, wAlpha));
            const __m128i d = _mm_unpacklo_epi8(loadBytes8(p), zero);
            const __m128i r = lanes(d, colourA, w);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_packus_epi16(r, r));
        }
        for (; j < count; ++j, p += 4)
            for (int c = 0; c < 4; ++c)
                p[c] = alphaLanes_[c] ? (m[j] ? static_cast<uint8_t>(colour_[c]) : p[c])
                                      : byteToward(p[c], colour_[c], m[j]);
    }

private:
    static __m128i load8(const int16_t* v)
    {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(v));
    }

    static __m128i loadBytes8(const uint8_t* p)
    {
        return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
    }

    static uint8_t byteToward(int d, int c, int w)
    {
        return static_cast<uint8_t>(d + (((c - d) * w + 127) >> 8));
    }

    // d + (((c - d) * w + 127) >> 8) per 16-bit lane; the products need 32
    // bits, so each lane pairs with 1 * 127 in a multiply-add.
    static __m128i lanes(__m128i d, __m128i c, __m128i w)
    {
        const __m128i x = _mm_sub_epi16(c, d);
        const __m128i one = _mm_set1_epi16(1);
        const __m128i bias = _mm_set1_epi16(127);
        const __m128i lo = _mm_madd_epi16(_mm_unpacklo_epi16(x, one), _mm_unpacklo_epi16(w, bias));
        const __m128i hi = _mm_madd_epi16(_mm_unpackhi_epi16(x, one), _mm_unpackhi_epi16(w, bias));
        return _mm_add_epi16(d, _mm_packs_epi32(_mm_srai_epi32(lo, 8), _mm_srai_epi32(hi, 8)));
    }

    bool bgr_;
    bool served_;
    // The colour per byte lane: four B, G, R cells (and four spare lanes for
    // the 8-lane load), or two cells in the layout's order.
    int16_t colour_[16];
    // -1 in the alpha lanes of two four-byte cells.
    int16_t alphaLanes_[8];
};
