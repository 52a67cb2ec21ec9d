#include "image/FloatRect.h"

#include "foundation/Numeric.h"

#include <algorithm>

FloatRect FloatRect::intersect(const FloatRect& other) const
{
    return FloatRect(std::max(topLeft.x, other.topLeft.x), std::max(topLeft.y, other.topLeft.y),
                     std::min(bottomRight.x, other.bottomRight.x), std::min(bottomRight.y, other.bottomRight.y));
}

Rect FloatRect::toRect() const
{
    return Rect(truncToInt(topLeft.x), truncToInt(topLeft.y), truncToInt(double(bottomRight.x) + 1.0),
                truncToInt(double(bottomRight.y) + 1.0));
}
