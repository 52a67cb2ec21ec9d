#include "image/ImageWarp.h"

#include "image/ColorMatrix.h"
#include "image/Image.h"

#include <cmath>

void warpQuad(Image& destination, const PixelSource& source, int x0, int y0, int x1, int y1,
              const Vec2& a, const Vec2& b, const Vec2& c, const Vec2& d)
{
    const int w = x1 - x0;
    const int h = y1 - y0;
    if (w <= 0 || h <= 0)
        return;
    const float fw = float(w);
    const float fh = float(h);
    const Vec2 leftStep = (c - a) / fh;
    const Vec2 rightStep = (d - b) / fh;
    Vec2 left = a;
    Vec2 right = b;
    for (int y = y0; y < y1; ++y) {
        if (y >= 0 && y < destination.height())
            destination.copyFromSource(x0, y, w, source, 0, left.x, left.y, (right - left) / fw);
        left = left + leftStep;
        right = right + rightStep;
    }
}

void warpQuad(Image& destination, const PixelSource& source, const Rect& rect,
              const Vec2& a, const Vec2& b, const Vec2& c, const Vec2& d)
{
    warpQuad(destination, source, rect.left, rect.top, rect.right, rect.bottom, a, b, c, d);
}

void warpImageByMatrix(const Image& source, Image& destination, const ColorMatrix& m, const Rect& rect)
{
    const float corners[4][3] = {{float(rect.left), float(rect.top), 0.0f},
                                 {float(rect.right), float(rect.top), 0.0f},
                                 {float(rect.left), float(rect.bottom), 0.0f},
                                 {float(rect.right), float(rect.bottom), 0.0f}};
    Vec2 mapped[4];
    for (int i = 0; i < 4; ++i) {
        float out[3];
        m.transformPoint(out, corners[i]);
        // A singular matrix or a zero scale gives non-finite positions, which
        // reach no source pixel: the destination keeps its own.
        if (!std::isfinite(out[0]) || !std::isfinite(out[1]))
            return;
        mapped[i] = Vec2(out[0], out[1]);
    }
    warpQuad(destination, source, rect, mapped[0], mapped[1], mapped[2], mapped[3]);
}

void transformImage(const Image& source, Image& destination, const Vec2& point, float scale, float angle)
{
    // Row vectors: a destination point goes through T(-point), S(1/scale),
    // R(angle) and T(centre) in that order; each factor is multiplied on the left.
    ColorMatrix m;
    m.setTranslation(float(source.width() * 0.5), float(source.height() * 0.5), 0.0f);
    ColorMatrix factor;
    const float s = float(std::sin(double(angle)));
    const float c = float(std::cos(double(angle)));
    factor.setRotation(s, c);
    m.multiply(m, factor);
    const float inverseScale = 1.0f / scale;
    factor.setScale(inverseScale, inverseScale, inverseScale);
    m.multiply(m, factor);
    factor.setTranslation(-point.x, -point.y, 0.0f);
    m.multiply(m, factor);
    warpImageByMatrix(source, destination, m, destination.bounds());
}
