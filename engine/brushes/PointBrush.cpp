#include "engine/brushes/PointBrush.h"

#include "foundation/Numeric.h"
#include "foundation/Vec2.h"
#include "image/ColourMath.h"

PointBrush::PointBrush(const ParamDescriptor* table, const char* id, const char* displayName)
    : Brush(table, id, displayName), stickyP(Pixel::fromWord(0)), stickyQ(Pixel::fromWord(0))
{
}

PointBrush::~PointBrush()
{
}

float PointBrush::meanRadius() const
{
    return 0.5f;
}

float PointBrush::spacingScale() const
{
    return 1.0f;
}

float PointBrush::sizeAt(float) const
{
    return 1.0f;
}
