#pragma once

#include "engine/PaintIf.h"
#include "engine/brushes/ShapedBrush.h"

// "_ImageCopyBrush": copies the picture under the tip from the dab position
// to the position plus the direction, dragging it along the stroke.
class ImageCopyBrush : public ShapedBrush {
public:
    ImageCopyBrush();
    ~ImageCopyBrush() override;

    bool dab(const Vec2& position, const Vec2& direction, float t) override;
    void prepare(int steps) override;

    bool reverse; // "swap": copy from the moved point back to the dab position

protected:
    BrushTip* createTip() const override;

private:
    PaintIfPredicate limit_;
};
