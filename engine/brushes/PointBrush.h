#pragma once

#include "engine/brushes/Brush.h"
#include "foundation/Numeric.h"
#include "foundation/Vec2.h"
#include "image/ColourMath.h"

// Shared part of the brushes that touch two pixels per dab: P under the dab
// position and Q under the position plus the direction. Colour moves from Q
// into P and from P into Q.
class PointBrush : public Brush {
public:
    PointBrush(const ParamDescriptor* table, const char* id, const char* displayName);
    ~PointBrush() override;

    float meanRadius() const override;
    float spacingScale() const override;
    float sizeAt(float t) const override;

    // Carried from dab to dab and from render to render; replaced at the
    // first dab (t = 0) of each stroke.
    Pixel stickyP;
    Pixel stickyQ;

protected:
    struct DabPixels {
        int x0, y0; // P, area coordinates
        int x1, y1; // Q
        Pixel p, q;
    };

    // Whole-pixel positions: each coordinate rounded before the sum, so x1 is
    // not round(position.x + direction.x).
    // These run for every dab, hence inline.
    static void locate(const Vec2& position, const Vec2& direction, DabPixels& out)
    {
        out.x0 = roundToInt(position.x);
        out.y0 = roundToInt(position.y);
        out.x1 = addSaturated(out.x0, roundToInt(direction.x));
        out.y1 = addSaturated(out.y0, roundToInt(direction.y));
    }
    // Reads P and Q clamped into the target (a paintTarget()).
    void readPixels(const Image& target, DabPixels& dab) const
    {
        dab.p = readClamped(target, addSaturated(dab.x0, pixelOffset.x),
                            addSaturated(dab.y0, pixelOffset.y));
        dab.q = readClamped(target, addSaturated(dab.x1, pixelOffset.x),
                            addSaturated(dab.y1, pixelOffset.y));
    }
    // At t = 0 the sticky colours become P and Q.
    void captureSticky(const DabPixels& dab, float t)
    {
        if (t == 0.0f) {
            stickyP = dab.p;
            stickyQ = dab.q;
        }
    }
    // pixel moves toward sticky by weight; sticky becomes the result.
    static void mixSticky(Pixel& pixel, Pixel& sticky, float weight)
    {
        // Weight 0 (the default stickiness) leaves every channel as it is:
        // c + d * 0 is c exactly, so the mix is skipped.
        if (weight != 0.0f)
            pixel = lerpPixelRgb(pixel, sticky, weight);
        sticky = pixel;
    }
};
