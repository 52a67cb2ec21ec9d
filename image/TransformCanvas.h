#pragma once

#include "image/Extent.h"
#include "image/OwnedBitmap.h"

class ColorMatrix;

// An owned image that other images are placed on by their centre or drawn
// onto through a matrix.
class TransformCanvas : public Extent
{
public:
    TransformCanvas();
    TransformCanvas(int width, int height, int format);

    // Recreates the image and refreshes the centre.
    bool create(int width, int height, int format);

    float width() const override { return float(image.width()); }
    float height() const override { return float(image.height()); }

    // Blends a four-channel image into the canvas at position - centre.
    void blendImageCentred(const Image& source, const Vec2& position);
    // Copies the canvas into `target`, its top-left corner at position - centre.
    void copyInto(Image& target, const Vec2& position) const;
    // Draws `source` through `m` (source coordinates to canvas coordinates).
    void drawTransformed(const Image& source, const ColorMatrix& m);
    // The same after translating the source by `offset`.
    void drawTransformedAt(const Image& source, const ColorMatrix& m, const Vec2& offset);

    double scale;
    OwnedBitmap image;
    double centreX;
    double centreY;

private:
    void topLeftFor(const Vec2& position, int& x, int& y) const;
};
