#pragma once

#include <cstdint>

#include "engine/ResponseCurves.h"
#include "engine/tips/DefaultBlend.h"
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
    // True, with the colour, when colorAt gives one colour for every cell:
    // the stamp then asks once instead of per cell.
    virtual bool uniformColor(Pixel& out) const;

    // Generates the mask with the radial shape (radius, height, shape, noise,
    // clip, curve and the two functions) or the polygon shape (all of them,
    // angle and sides too); sets spacing and mass.
    void build(bool radial, float radius, float height, float angle, float shape, bool clip,
               int sides, float noise, ResponseCurve curve, TipHeightFunction heightFunction,
               TipNoiseFunction noiseFunction);

    // Rows 0..2: clamp(round(i * b)); row 3 (alpha): all 255.
    void setBrightness(float b);
    // Call after writing the brightness rows other than by setBrightness:
    // the stamps cache whether the alpha row is one value.
    void brightnessChanged();

    // Lays colorAt through the mask centred on the point; cells outside the
    // image are skipped.
    void stampColor(Image& image, const Point& centre) const;

    double mass;               // sum of mask bytes / 255: an area in pixels
    TipMask mask;
    BlendKernel blendKernel;
    CompositeKernel compositeKernel;
    uint8_t brightness[4][256];

protected:
    // The brightness row of alpha when all its entries are equal (then the
    // composite kernel's result never shows), else -1.
    int fixedAlpha() const { return fixedAlpha_; }
    // True when the colour rows of the brightness table give every byte back
    // unchanged (brightness 1, the usual case): the stamps then skip them.
    bool identityTone() const { return identityTone_; }

    // Lays source colour s over destination d with the mask weight w: the
    // blend kernel per colour channel, the composite kernel for alpha, each
    // through its brightness row. DefaultBlend writes the default kernel
    // (blendScl) out instead of calling through the pointer per channel;
    // Identity skips the colour rows (identityTone()).
    template <bool DefaultBlend, bool Identity>
    Pixel blendCell(const Pixel& s, uint8_t w, const Pixel& d, int alpha) const
    {
        Pixel out;
        if (DefaultBlend) {
            out.r = tone<Identity>(0, defaultBlend(s.r, w, d.r));
            out.g = tone<Identity>(1, defaultBlend(s.g, w, d.g));
            out.b = tone<Identity>(2, defaultBlend(s.b, w, d.b));
        } else {
            out.r = tone<Identity>(0, blendKernel(s.r, w, d.r, d.a));
            out.g = tone<Identity>(1, blendKernel(s.g, w, d.g, d.a));
            out.b = tone<Identity>(2, blendKernel(s.b, w, d.b, d.a));
        }
        out.a = alpha >= 0 ? static_cast<uint8_t>(alpha)
                           : brightness[3][compositeKernel(w, d.a)];
        return out;
    }

    // Calls owner.template cells<DefaultBlend, Bgr, Identity>() for this
    // tip's kernel and brightness and the given layout.
    template <class Owner>
    void dispatchCells(Owner& owner, bool bgr) const
    {
        const bool plain = blendKernel == &blendScl;
        if (plain && identityTone_) {
            if (bgr)
                owner.template cells<true, true, true>();
            else
                owner.template cells<true, false, true>();
        } else if (plain) {
            if (bgr)
                owner.template cells<true, true, false>();
            else
                owner.template cells<true, false, false>();
        } else {
            if (bgr)
                owner.template cells<false, true, false>();
            else
                owner.template cells<false, false, false>();
        }
    }

    float spacing_;

private:
    int fixedAlpha_;
    bool identityTone_;

    template <bool Identity>
    uint8_t tone(int row, uint8_t v) const
    {
        return Identity ? v : brightness[row][v];
    }

    // Bgr: the image's layout isBgr().
    template <bool DefaultBlend, bool Bgr, bool Identity>
    void stampColorCells(Image& image, const Point& centre) const;
    struct ColorCells;
};
