#pragma once

#include "engine/tips/BrushTip.h"

// The image copy brush's tip: copies a masked patch of its source image from
// around one point to around another.
class ImageCopyTip : public BrushTip {
public:
    ImageCopyTip();
    ~ImageCopyTip() override;

    void stampAt(Image& image, const Vec2& position) override;
    void colorAt(Pixel& out, int rowsLeft, int columnsLeft) const override;

    // Copies the patch of `source` around sourceCentre onto the target around
    // destination. Each axis is walked from the source's side away from it,
    // so when source and target are one image later cells read what this
    // stamp has just written: the copy smears along the stroke. Walking
    // backwards lays the mask mirrored on that axis.
    void stamp(Image& target, const Point& destination, const Point& sourceCentre) const;

    Image* source; // not owned; the brush sets it before the first dab

private:
    // Bgr: both images' layouts are isBgr().
    template <bool DefaultBlend, bool Bgr, bool Identity>
    void stampCells(Image& target, const Point& destination, const Point& sourceCentre) const;
    struct CopyCells;
};
