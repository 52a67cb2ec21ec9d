#pragma once

#include "engine/tips/BrushTip.h"

// The colour point brush's tip: stamps one stored colour through the mask.
class ColorPointTip : public BrushTip {
public:
    ColorPointTip();
    ~ColorPointTip() override;

    void stampAt(Image& image, const Vec2& position) override;
    void colorAt(Pixel& out, int rowsLeft, int columnsLeft) const override;
    bool uniformColor(Pixel& out) const override;

    Pixel color;
};
