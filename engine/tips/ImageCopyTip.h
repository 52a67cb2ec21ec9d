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

    // Asks the cache for the pixels of `image` the patch around `next` covers
    // and the patch around `now` does not: the rows and columns a dab moving
    // from now to next reaches first. Only a hint: it reads and changes nothing.
    void prefetchAhead(const Image& image, const Point& now, const Point& next) const;
    // The same for every row of the patch around centre.
    void prefetchPatch(const Image& image, const Point& centre) const;

    Image* source; // not owned; the brush sets it before the first dab
    // Set by a brush that asks for every patch row of a large picture a dab
    // or more ahead of the stamp.
    bool rowsFetchedAhead;

private:
    // Bgr: both images' layouts are isBgr().
    template <bool DefaultBlend, bool Bgr, bool Identity>
    void stampCells(Image& target, const Point& destination, const Point& sourceCentre) const;
    struct CopyCells;
};
