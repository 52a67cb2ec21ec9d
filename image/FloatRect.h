#pragma once

#include "foundation/Rect.h"
#include "foundation/Vec2.h"

// Float rectangle held as its two corners.
class FloatRect
{
public:
    FloatRect() {}
    FloatRect(const Vec2& topLeft_, const Vec2& bottomRight_) : topLeft(topLeft_), bottomRight(bottomRight_) {}
    FloatRect(float left, float top, float right, float bottom) : topLeft(left, top), bottomRight(right, bottom) {}
    virtual ~FloatRect() {}

    // The larger left and top and the smaller right and bottom of the two.
    FloatRect intersect(const FloatRect& other) const;
    // Left and top truncated toward zero, right and bottom truncate(v + 1):
    // the integer rectangle covering every touched pixel.
    Rect toRect() const;

    Vec2 topLeft;
    Vec2 bottomRight;
};
