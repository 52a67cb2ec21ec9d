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

void PointBrush::locate(const Vec2& position, const Vec2& direction, DabPixels& out)
{
    out.x0 = roundToInt(position.x);
    out.y0 = roundToInt(position.y);
    out.x1 = addSaturated(out.x0, roundToInt(direction.x));
    out.y1 = addSaturated(out.y0, roundToInt(direction.y));
}

void PointBrush::readPixels(DabPixels& dab) const
{
    dab.p = readTargetClamped(addSaturated(dab.x0, pixelOffset.x),
                              addSaturated(dab.y0, pixelOffset.y));
    dab.q = readTargetClamped(addSaturated(dab.x1, pixelOffset.x),
                              addSaturated(dab.y1, pixelOffset.y));
}

void PointBrush::captureSticky(const DabPixels& dab, float t)
{
    if (t == 0.0f) {
        stickyP = dab.p;
        stickyQ = dab.q;
    }
}

void PointBrush::mixSticky(Pixel& pixel, Pixel& sticky, float weight)
{
    pixel = lerpPixelRgb(pixel, sticky, weight);
    sticky = pixel;
}
