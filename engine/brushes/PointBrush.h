#pragma once

#include "engine/brushes/Brush.h"

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
    static void locate(const Vec2& position, const Vec2& direction, DabPixels& out);
    // Reads P and Q clamped into the target.
    void readPixels(DabPixels& dab) const;
    // At t = 0 the sticky colours become P and Q.
    void captureSticky(const DabPixels& dab, float t);
    // pixel moves toward sticky by weight; sticky becomes the result.
    static void mixSticky(Pixel& pixel, Pixel& sticky, float weight);
};
