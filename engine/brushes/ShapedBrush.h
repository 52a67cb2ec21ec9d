#pragma once

#include "engine/brushes/Brush.h"

class BrushTip;

// A brush that stamps a precomputed tip per dab: one tip per step a stroke
// can take, so size, hardness, noise and rotation change along the stroke.
class ShapedBrush : public Brush {
public:
    enum { MaxTips = 160 };

    ShapedBrush(const ParamDescriptor* table, const char* id, const char* displayName);
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

    BrushTip* tips_[MaxTips];
    int count_;
};
