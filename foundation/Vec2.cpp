#include "foundation/Vec2.h"

Vec2 Vec2::lerp(float t, const Vec2& a, const Vec2& b)
{
    // Every intermediate is a float; the order (b * t first) is part of the
    // bit-exact result.
    const float oneMinusT = 1.0f - t;
    const Vec2 bt = b * t;
    const Vec2 at = a * oneMinusT;
    return at + bt;
}
