#include "shell/filters/UnsharpCombineFilter.h"

#include <emmintrin.h>

#include "engine/RenderCallbacks.h"
#include "foundation/Numeric.h"
#include "image/Image.h"

UnsharpCombineFilter::UnsharpCombineFilter(float factor) : ImageFilter(false), factor_(factor)
{
}

bool UnsharpCombineFilter::apply(const Image& source, Image& destination,
                                 RenderCallbacks& callbacks)
{
    if (source.isEmpty() || destination.isEmpty() || source.width() != destination.width()
        || source.height() != destination.height() || source.step() != destination.step())
        return false;
    const long long f = truncToInt(double(factor_) * 256.0);
    const long long g = 256 - f;
    // Both weights in 16 bits: one madd gives source x F + blurred x G exactly.
    const bool simd = f >= -32768 && f <= 32767 && g >= -32768 && g <= 32767;
    const __m128i weights = _mm_set1_epi32(int(uint32_t(uint16_t(f)) | (uint32_t(uint16_t(g)) << 16)));
    const __m128i zero = _mm_setzero_si128();
    const size_t rowBytes = size_t(source.width()) * source.step();
    const int height = source.height();
    for (int y = 0; y < height; ++y) {
        const uint8_t* s = source.row(y);
        uint8_t* d = destination.row(y);
        size_t i = 0;
        if (simd)
            for (; i + 16 <= rowBytes; i += 16) {
                const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
                const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
                const __m128i s0 = _mm_unpacklo_epi8(sv, zero);
                const __m128i s1 = _mm_unpackhi_epi8(sv, zero);
                const __m128i d0 = _mm_unpacklo_epi8(dv, zero);
                const __m128i d1 = _mm_unpackhi_epi8(dv, zero);
                const __m128i r0 = _mm_srai_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(s0, d0), weights), 8);
                const __m128i r1 = _mm_srai_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(s0, d0), weights), 8);
                const __m128i r2 = _mm_srai_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(s1, d1), weights), 8);
                const __m128i r3 = _mm_srai_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(s1, d1), weights), 8);
                _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i),
                                 _mm_packus_epi16(_mm_packs_epi32(r0, r1), _mm_packs_epi32(r2, r3)));
            }
        for (; i < rowBytes; ++i) {
            const long long v = (s[i] * f + d[i] * g) >> 8;
            d[i] = uint8_t(v < 0 ? 0 : (v > 255 ? 255 : v));
        }
        if (!callbacks.progress(float(y + 1) / float(height)))
            return false;
    }
    return true;
}
