#pragma once

#include "foundation/Vec2.h"

// Something with a float width and height.
class Extent
{
public:
    virtual ~Extent() {}
    virtual float width() const = 0;
    virtual float height() const = 0;

    Vec2 centre() const { return Vec2(width() * 0.5f, height() * 0.5f); }
    float radius() const { return (width() + height()) * 0.25f; }
};
