#include "image/CopyRegion.h"

#include "foundation/Numeric.h"
#include "image/Image.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

// Rectangles in 64-bit so that far-off coordinates and sizes cannot
// overflow while they are clipped.
struct Box
{
    int64_t left, top, right, bottom;
};

// Rect::intersect on 64-bit boxes: the inclusive overlap test, the
// all-zero box when the two are apart.
Box intersect(Box a, Box b)
{
    if (b.left > b.right) std::swap(b.left, b.right);
    if (b.top > b.bottom) std::swap(b.top, b.bottom);
    if (a.left <= b.right && a.right >= b.left && a.top <= b.bottom && a.bottom >= b.top) {
        Box r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
        if (r.top > r.bottom) std::swap(r.top, r.bottom);
        if (r.left > r.right) std::swap(r.left, r.right);
        return r;
    }
    return Box{0, 0, 0, 0};
}

Box boundsOf(const Image& image)
{
    return Box{0, 0, image.width(), image.height()};
}


}

void clipCopyRegion(const Image& destination, const Image& source, int& dx, int& dy, int& sx,
                    int& sy, int& width, int& height)
{
    if (width < 1 || height < 1) {
        dx = dy = sx = sy = width = height = 0;
        return;
    }
    Box a = intersect(boundsOf(destination), Box{dx, dy, int64_t(dx) + width, int64_t(dy) + height});
    int64_t offX = int64_t(sx) - dx;
    int64_t offY = int64_t(sy) - dy;
    Box moved{a.left + offX, a.top + offY, a.right + offX, a.bottom + offY};
    Box b = intersect(moved, boundsOf(source));
    sx = saturateToInt(b.left);
    sy = saturateToInt(b.top);
    dx = saturateToInt(b.left - offX);
    dy = saturateToInt(b.top - offY);
    width = saturateToInt(b.right - b.left);
    height = saturateToInt(b.bottom - b.top);
}

CopyRegion::CopyRegion(const Image& src, Image& dst, const Rect& rect, const Point& destinationPoint)
    : source(&src), destination(&dst), sourceRect(rect), point(destinationPoint)
{
}

void CopyRegion::clip()
{
    int w = saturateToInt(int64_t(sourceRect.right) - sourceRect.left);
    int h = saturateToInt(int64_t(sourceRect.bottom) - sourceRect.top);
    int dx = point.x, dy = point.y, sx = sourceRect.left, sy = sourceRect.top;
    if (w > 0 && h > 0)
        clipCopyRegion(*destination, *source, dx, dy, sx, sy, w, h);
    if (w <= 0 || h <= 0) {
        sourceRect = Rect();
        point = Point();
        return;
    }
    sourceRect = Rect(sx, sy, sx + w, sy + h);
    point = Point(dx, dy);
}
