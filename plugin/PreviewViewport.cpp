#include "plugin/PreviewViewport.h"

#include "foundation/Numeric.h"

namespace {

Rect normalized(Rect r)
{
    r.normalize();
    return r;
}

int roundScaled(int v, float factor)
{
    return roundToInt(double(float(v) * factor));
}

Rect scaled(const Rect& r, float factor)
{
    return normalized(Rect(roundScaled(r.left, factor), roundScaled(r.top, factor),
                           roundScaled(r.right, factor), roundScaled(r.bottom, factor)));
}

int clampOrZero(int v, int high)
{
    return v > high ? (high < 0 ? 0 : high) : v < 0 ? 0 : v;
}

} // namespace

PreviewViewport::PreviewViewport(uint32_t base, uint32_t maximum) : ZoomRatio(base, maximum) {}

PreviewViewport::~PreviewViewport() {}

void PreviewViewport::setRects(const Rect& image, const Rect& window)
{
    // Back to 1:1: the ladder always passes through base / base.
    while (numerator() > denominator() && zoomOut()) {
    }
    while (numerator() < denominator() && zoomIn()) {
    }
    image_ = normalized(image);
    window_ = normalized(window);
    centre();
}

Rect PreviewViewport::scaledImageRect() const
{
    return scaled(image_, ratio());
}

Rect PreviewViewport::displayRect() const
{
    const Rect s = scaledImageRect();
    const int sw = s.right - s.left, sh = s.bottom - s.top;
    Rect d = window_;
    const int ww = d.right - d.left, wh = d.bottom - d.top;
    if (sw < ww) {
        d.left += (ww - sw) / 2;
        d.right = d.left + sw;
    }
    if (sh < wh) {
        d.top += (wh - sh) / 2;
        d.bottom = d.top + sh;
    }
    return d;
}

Point PreviewViewport::clampOrigin(Point p) const
{
    const Rect s = scaledImageRect(), d = displayRect();
    return Point(clampOrZero(p.x, (s.right - s.left) - (d.right - d.left)),
                 clampOrZero(p.y, (s.bottom - s.top) - (d.bottom - d.top)));
}

void PreviewViewport::centre()
{
    const Rect s = scaledImageRect(), d = displayRect();
    origin_ = clampOrigin(Point(((s.right - s.left) - (d.right - d.left)) / 2,
                                ((s.bottom - s.top) - (d.bottom - d.top)) / 2));
}

bool PreviewViewport::scrollTo(Point p)
{
    const Point clamped = clampOrigin(p);
    const bool changed = clamped.x != origin_.x || clamped.y != origin_.y;
    origin_ = clamped;
    return changed;
}

bool PreviewViewport::scrollBy(Point delta)
{
    return scrollTo(Point(origin_.x + delta.x, origin_.y + delta.y));
}

bool PreviewViewport::canScroll() const
{
    const Rect s = scaledImageRect();
    return s.right - s.left > window_.right - window_.left ||
           s.bottom - s.top > window_.bottom - window_.top;
}

Rect PreviewViewport::visibleRect() const
{
    const Rect d = displayRect();
    const Rect r(origin_.x, origin_.y, origin_.x + (d.right - d.left), origin_.y + (d.bottom - d.top));
    return scaled(r, float(denominator()) / float(numerator()));
}

Point PreviewViewport::visibleCentre() const
{
    const Rect v = visibleRect();
    return Point((v.left + v.right) >> 1, (v.top + v.bottom) >> 1);
}

Rect previewVisibleImageRect(int surfaceWidth, int surfaceHeight, float ratio, Point pan,
                             int imageWidth, int imageHeight)
{
    const int cx = surfaceWidth >> 1, cy = surfaceHeight >> 1;
    const float inverse = 1.0f / ratio;
    const int ix = roundToInt(double(float(imageWidth) * 0.5f));
    const int iy = roundToInt(double(float(imageHeight) * 0.5f));
    Rect r(roundScaled(-cx + pan.x, inverse) + ix, roundScaled(-cy + pan.y, inverse) + iy,
           roundScaled(surfaceWidth - cx + pan.x, inverse) + ix,
           roundScaled(surfaceHeight - cy + pan.y, inverse) + iy);
    r.normalize();
    return r;
}

Point panAfterZoom(Point pan, float oldRatio, float newRatio)
{
    const float factor = newRatio / oldRatio;
    return Point(truncToInt(double(float(pan.x) * factor)), truncToInt(double(float(pan.y) * factor)));
}
