#pragma once

#include "engine/ResponseCurves.h"
#include "engine/tips/HeightFunctions.h"

class TipMask;

// The polygon tip shape: a disc pinched into `sides` corners by a triangle
// wave around the circle.
class PolygonTipShape {
public:
    PolygonTipShape(float height, float shape, float noise, bool clip, ResponseCurve curve,
                    float radius, float angle, int sides,
                    TipHeightFunction heightFunction, TipNoiseFunction noiseFunction);
    virtual ~PolygonTipShape();

    // Fills the mask and returns the tip's spacing; a radius that gives no
    // whole pixel leaves the mask alone and returns 1.
    float generate(TipMask& mask) const;

private:
    float height_;
    float shape_;
    float noise_;
    bool clip_;
    ResponseCurve curve_;
    float radius_;
    float angle_;
    int sides_;
    TipHeightFunction heightFunction_;
    TipNoiseFunction noiseFunction_;
};
