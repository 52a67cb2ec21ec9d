#pragma once

#include <cstdint>

#include "engine/ResponseCurves.h"
#include "engine/tips/HeightFunctions.h"
#include "engine/tips/TipMask.h"
#include "image/BlendKernels.h"
#include "image/CompositeModes.h"
#include "image/Pixel.h"

class Image;
class Vec2;
struct Point;

// A precomputed stamp: an 8-bit mask with the kernels and brightness table
// that put it on an image. Tip-shaped brushes build one per stroke step.
class BrushTip {
public:
    BrushTip();
    virtual ~BrushTip();

    BrushTip(const BrushTip&) = delete;
    BrushTip& operator=(const BrushTip&) = delete;

    // Stamps the tip centred on a position (tips that carry no colour do nothing).
    virtual void stampAt(Image& image, const Vec2& position) = 0;
    virtual float width() const;
    virtual float height() const;
    virtual void centre(Vec2& out) const;
    virtual float spacing() const;
    // The colour stamped at a mask cell, given as rows and columns left.
    virtual void colorAt(Pixel& out, int rowsLeft, int columnsLeft) const = 0;

    // Generates the mask with the radial shape (radius, height, shape, noise,
    // clip, curve and the two functions) or the polygon shape (all of them,
    // angle and sides too); sets spacing and mass.
    void build(bool radial, float radius, float height, float angle, float shape, bool clip,
               int sides, float noise, ResponseCurve curve, TipHeightFunction heightFunction,
               TipNoiseFunction noiseFunction);

    // Rows 0..2: clamp(round(i * b)); row 3 (alpha): all 255.
    void setBrightness(float b);

    // Lays colorAt through the mask centred on the point; cells outside the
    // image are skipped.
    void stampColor(Image& image, const Point& centre) const;

    double mass;               // sum of mask bytes / 255: an area in pixels
    TipMask mask;
    BlendKernel blendKernel;
    CompositeKernel compositeKernel;
    uint8_t brightness[4][256];

protected:
    float spacing_;
};
