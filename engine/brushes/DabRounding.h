#pragma once

#include <climits>
#include <emmintrin.h>

// Whole-pixel positions of a dab from float coordinates, as
// roundToInt(double(v)) gives them, in fewer steps: a point brush rounds
// four coordinates per dab.

// roundToInt of the float widened to double, without the double steps:
// nearest, ties to even, NaN 0, saturating. The truncation and the fraction
// are exact in single precision (a float's whole part is a float).
inline int roundFloat(float v)
{
    if (!(v < 2147483648.0f))
        return v != v ? 0 : INT_MAX;
    if (v < -2147483648.0f)
        return INT_MIN;
    const int i = static_cast<int>(v);
    const float frac = v - static_cast<float>(i);
    const int odd = i & 1;
    return i + int(frac > 0.5f || (frac == 0.5f && odd)) -
           int(frac < -0.5f || (frac == -0.5f && odd));
}

// roundFloat of four values at once, branch-free in SSE2; false (and
// nothing written) when one is out of int range or NaN.
inline bool roundFourFloats(float a, float b, float c, float d, int out[4])
{
    const __m128 v = _mm_setr_ps(a, b, c, d);
    const __m128 inRange = _mm_and_ps(_mm_cmpge_ps(v, _mm_set1_ps(-2147483648.0f)),
                                      _mm_cmplt_ps(v, _mm_set1_ps(2147483648.0f)));
    if (_mm_movemask_ps(inRange) != 15)
        return false;
    const __m128i whole = _mm_cvttps_epi32(v);
    const __m128 frac = _mm_sub_ps(v, _mm_cvtepi32_ps(whole));
    const __m128 odd = _mm_castsi128_ps(
        _mm_cmpeq_epi32(_mm_and_si128(whole, _mm_set1_epi32(1)), _mm_set1_epi32(1)));
    const __m128 half = _mm_set1_ps(0.5f);
    const __m128 minusHalf = _mm_set1_ps(-0.5f);
    const __m128 up = _mm_or_ps(_mm_cmpgt_ps(frac, half), _mm_and_ps(_mm_cmpeq_ps(frac, half), odd));
    const __m128 down = _mm_or_ps(_mm_cmplt_ps(frac, minusHalf),
                                  _mm_and_ps(_mm_cmpeq_ps(frac, minusHalf), odd));
    // The masks are -1 where set.
    const __m128i rounded = _mm_add_epi32(_mm_sub_epi32(whole, _mm_castps_si128(up)),
                                          _mm_castps_si128(down));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), rounded);
    return true;
}
