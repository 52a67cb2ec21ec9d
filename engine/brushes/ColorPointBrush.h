#pragma once

#include "engine/PaintIf.h"
#include "engine/brushes/ShapedBrush.h"

// "_ColorPointBrush": stamps one colour mixed from the pixels under the dab
// and a current colour that can stick from dab to dab.
class ColorPointBrush : public ShapedBrush {
public:
    ColorPointBrush();
    ~ColorPointBrush() override;

    bool dab(const Vec2& position, const Vec2& direction, float t) override;
    void prepare(int steps) override;

    // Lives as long as the brush; reset by every dab that uses the first tip.
    Pixel currentColor;

protected:
    BrushTip* createTip() const override;

private:
    ValuePair colorMix_;
    ValuePair stickyColor_;
    PaintIfPredicate limit_;
    PaintIfPredicate stickyType_;
};
