#pragma once

#include <climits>

// Float-to-int conversions that are defined for every input: NaN gives 0 and
// values beyond the int range saturate (a plain cast is undefined there).

inline int truncToInt(double v)
{
    if (v != v)
        return 0;
    if (v >= 2147483647.0)
        return INT_MAX;
    if (v <= -2147483648.0)
        return INT_MIN;
    return static_cast<int>(v);
}

// Nearest integer, ties to even. Works from the truncation alone so that the
// result does not depend on the FPU rounding mode a host may have set.
inline int roundToInt(double v)
{
    if (v != v)
        return 0;
    if (v >= 2147483647.5)
        return INT_MAX;
    if (v <= -2147483648.5)
        return INT_MIN;
    int i = static_cast<int>(v);
    double frac = v - static_cast<double>(i); // exact
    if (frac > 0.5 || (frac == 0.5 && (i & 1)))
        ++i;
    else if (frac < -0.5 || (frac == -0.5 && (i & 1)))
        --i;
    return i;
}

// A 64-bit result brought into int range: far-off coordinates and sums
// saturate instead of wrapping.
inline int saturateToInt(long long v)
{
    return v > INT_MAX ? INT_MAX : (v < INT_MIN ? INT_MIN : static_cast<int>(v));
}

inline int clampInt(int v, int lo, int hi)
{
    return v < lo ? lo : (v > hi ? hi : v);
}
