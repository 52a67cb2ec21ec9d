#include "engine/tips/ValueNoise.h"

#include <cmath>
#include <cstdint>

#include "foundation/Angles.h"
#include "foundation/Numeric.h"

double ValueNoise::hash(int n)
{
    uint32_t u = static_cast<uint32_t>(n);
    u ^= u << 13;
    const uint32_t v = (u * (u * u * 15731u + 789221u) - 771171059u) & 0x7fffffffu;
    return 1.0 - static_cast<double>(v) / 1073741824.0;
}

double ValueNoise::hash2(int x, int y)
{
    const uint32_t n = static_cast<uint32_t>(x) + 57u * static_cast<uint32_t>(y);
    return hash(static_cast<int>(n));
}

double ValueNoise::cosineInterpolate(double t, double a, double b)
{
    const double w = 1.0 - 0.5 * std::cos(kPi * t);
    return a + (b - a) * w;
}

double ValueNoise::cosineInterpolate2(double a, double b, double c, double d,
                                      double tx, double ty)
{
    const double wx = 1.0 - 0.5 * std::cos(kPi * tx);
    const double wy = 1.0 - 0.5 * std::cos(kPi * ty);
    const double top = a + (b - a) * wx;
    const double bottom = c + (d - c) * wx;
    return top + (bottom - top) * wy;
}

float ValueNoise::smooth(float x, float y)
{
    const float hx = x - 0.5f;
    const float hy = y - 0.5f;
    const int ix = roundToInt(hx);
    const int iy = roundToInt(hy);
    const double wx = 1.0 - 0.5 * std::cos(kPi * (static_cast<double>(x) - ix));
    const double wy = 1.0 - 0.5 * std::cos(kPi * (static_cast<double>(y) - iy));
    // Wrapping lattice index: far-away positions must not overflow.
    const uint32_t n = static_cast<uint32_t>(ix) + 57u * static_cast<uint32_t>(iy);
    auto N = [](uint32_t k) { return hash(static_cast<int>(k)); };
    const double l0 = N(n) + (N(n + 57u) - N(n)) * wx;
    const double l1 = N(n + 1u) + (N(n + 58u) - N(n + 1u)) * wx;
    return static_cast<float>(l0 + (l1 - l0) * wy);
}

float ValueNoise::smoothSigned(float x, float y)
{
    const float v = smooth(x, y);
    return v * std::fabs(v);
}

float ValueNoise::smooth8(float x, float y)
{
    return smooth(8.0f * x, 8.0f * y);
}

float ValueNoise::smooth8Signed(float x, float y)
{
    const float v = smooth8(x, y);
    return v * std::fabs(v);
}
