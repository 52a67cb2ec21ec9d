#pragma once

#include <cstdint>

#include "engine/ResponseCurves.h"
#include "engine/tips/HeightFunctions.h"

class PropertyReader;
class TipMask;
class Vec2;

// The radial tip shape: a height profile reshaped by a curve, with noise.
class BrushTipShape {
public:
    BrushTipShape(float height, float shape, float noise, bool clip, ResponseCurve curve,
                  TipHeightFunction heightFunction, TipNoiseFunction noiseFunction);
    // Reads "shape", "height", "noise", "clip" and "transfunc" (a curve id).
    explicit BrushTipShape(PropertyReader& reader);
    virtual ~BrushTipShape();

    virtual uint8_t valueAt(const Vec2& point) const;

    // Fills the mask for the radius and returns the tip's spacing; a radius
    // that gives no whole pixel leaves the mask alone and returns 1.
    float generate(TipMask& mask, float radius) const;

    float height() const { return height_; }
    float shape() const { return shape_; }
    float noise() const { return noise_; }
    bool clip() const { return clip_; }
    ResponseCurve curve() const { return curve_; }

private:
    float height_;
    float shape_;
    float noise_;
    bool clip_;
    ResponseCurve curve_;
    TipHeightFunction heightFunction_;
    TipNoiseFunction noiseFunction_;
};
