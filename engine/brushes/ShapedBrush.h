#pragma once

#include "engine/brushes/Brush.h"
#include "image/BlendKernels.h"
#include "image/CompositeModes.h"

class BrushTip;

// A brush that stamps a precomputed tip per dab: one tip per step a stroke
// can take, so size, hardness, noise and rotation change along the stroke.
class ShapedBrush : public Brush {
public:
    enum { MaxTips = 160 };

    // The rows of the tip parameters in the brush's table.
    struct TipRows {
        int radius, height, heightTransform, rotation, sides, shape, noise, shapeBuilder;
    };

    ShapedBrush(const ParamDescriptor* table, const TipRows& rows, const char* id,
                const char* displayName);
    ~ShapedBrush() override;

    // All 0 without tips.
    float meanSize() const override;
    float meanRadius() const override;
    float spacingScale() const override;
    float sizeAt(float t) const override;
    // Builds one tip per step (1..160).
    void prepare(int steps) override;

    int tipCount() const { return count_; }
    BrushTip* tipAt(int index) const;

protected:
    virtual BrushTip* createTip() const = 0;
    // The brightness of tip i: i / count of the way from the first value to
    // the second, so the last tip stops short of the second value.
    float tipBrightness(const ValuePair& brightness, int index) const;
    void deleteTips();
    // Gives every tip the brush's kernels and its share of the brightness.
    void configureTips(BlendKernel blend, CompositeKernel alpha, const ValuePair& brightness);
    // The dab's two target pixels: the position and the position plus the
    // direction, each rounded after the sum and moved by the pixel offset.
    void dabEnds(const Vec2& position, const Vec2& direction, Point& atPosition,
                 Point& atEnd) const;

    BrushTip* tips_[MaxTips];
    int count_;

private:
    TipRows rows_;
};
