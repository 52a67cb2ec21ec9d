#include "image/TransformCanvas.h"

#include "foundation/Numeric.h"
#include "image/ColorMatrix.h"
#include "image/FloatRect.h"
#include "image/ImageWarp.h"

#include <algorithm>

TransformCanvas::TransformCanvas() : scale(1.0), centreX(0.0), centreY(0.0)
{
}

TransformCanvas::TransformCanvas(int width, int height, int format) : scale(1.0), centreX(0.0), centreY(0.0)
{
    create(width, height, format);
}

bool TransformCanvas::create(int width, int height, int format)
{
    const bool ok = image.create(width, height, format);
    centreX = image.width() * 0.5;
    centreY = image.height() * 0.5;
    return ok;
}

void TransformCanvas::topLeftFor(const Vec2& position, int& x, int& y) const
{
    x = roundToInt(double(position.x) - centreX);
    y = roundToInt(double(position.y) - centreY);
}

void TransformCanvas::blendImageCentred(const Image& source, const Vec2& position)
{
    int x, y;
    topLeftFor(position, x, y);
    image.blendImageAt(source, x, y);
}

void TransformCanvas::copyInto(Image& target, const Vec2& position) const
{
    int ox, oy;
    topLeftFor(position, ox, oy);
    const int x0 = std::max(0, -ox);
    const int y0 = std::max(0, -oy);
    const int x1 = std::min(image.width(), target.width() - ox);
    const int y1 = std::min(image.height(), target.height() - oy);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            target.setPixel(x + ox, y + oy, image.getPixel(x, y));
}

void TransformCanvas::drawTransformed(const Image& source, const ColorMatrix& m)
{
    if (image.isEmpty() || source.isEmpty())
        return;
    // The canvas area the source covers: the bounding box of its mapped
    // corners, clipped to the canvas.
    const float corners[4][3] = {{0.0f, 0.0f, 0.0f},
                                 {float(source.width()), 0.0f, 0.0f},
                                 {0.0f, float(source.height()), 0.0f},
                                 {float(source.width()), float(source.height()), 0.0f}};
    float lo[2] = {0, 0}, hi[2] = {0, 0};
    for (int i = 0; i < 4; ++i) {
        float p[3];
        m.transformPoint(p, corners[i]);
        for (int k = 0; k < 2; ++k) {
            lo[k] = i == 0 ? p[k] : std::min(lo[k], p[k]);
            hi[k] = i == 0 ? p[k] : std::max(hi[k], p[k]);
        }
    }
    const FloatRect covered = FloatRect(lo[0], lo[1], hi[0], hi[1])
                                  .intersect(FloatRect(0.0f, 0.0f, width() - 1.0f, height() - 1.0f));
    if (!(covered.topLeft.x <= covered.bottomRight.x && covered.topLeft.y <= covered.bottomRight.y))
        return;
    ColorMatrix inverse;
    if (!m.inverse(inverse))
        return;
    warpImageByMatrix(source, image, inverse, covered.toRect());
}

void TransformCanvas::drawTransformedAt(const Image& source, const ColorMatrix& m, const Vec2& offset)
{
    ColorMatrix translated;
    translated.setTranslation(offset.x, offset.y, 0.0f);
    ColorMatrix combined;
    m.multiply(combined, translated);
    drawTransformed(source, combined);
}
