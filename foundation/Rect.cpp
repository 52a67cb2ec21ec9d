#include "foundation/Rect.h"

#include "foundation/Numeric.h"

void Rect::normalize()
{
    if (top > bottom) {
        int t = top;
        top = bottom;
        bottom = t;
    }
    if (left > right) {
        int t = left;
        left = right;
        right = t;
    }
}

bool Rect::overlaps(const Rect& other) const
{
    if (left > other.right || right < other.left || top > other.bottom)
        return false;
    return bottom >= other.top;
}

Rect& Rect::intersect(const Rect& other)
{
    Rect o(other);
    o.normalize();
    if (left <= o.right && right >= o.left && top <= o.bottom && bottom >= o.top) {
        if (o.left > left)
            left = o.left;
        if (o.top > top)
            top = o.top;
        if (o.right < right)
            right = o.right;
        if (o.bottom < bottom)
            bottom = o.bottom;
        normalize();
    } else {
        left = top = right = bottom = 0;
    }
    return *this;
}

Rect Rect::intersected(const Rect& other) const
{
    Rect r(*this);
    r.normalize();
    r.intersect(other);
    r.normalize();
    return r;
}

Rect Rect::fitAspect(const Rect& shape, bool centred) const
{
    if ((left == 0 && top == 0 && right == 0 && bottom == 0)
        || (shape.left == 0 && shape.top == 0 && shape.right == 0 && shape.bottom == 0))
        return Rect();
    // 64-bit differences: coordinates far apart must not overflow.
    const long long w = (long long)right - left;
    const long long h = (long long)bottom - top;
    const long long sw = (long long)shape.right - shape.left;
    const long long sh = (long long)shape.bottom - shape.top;
    const double a = sh != 0 ? double(sw) / double(sh) : 0.0;
    const double t = h != 0 ? double(w) / double(h) : 0.0;
    Rect r;
    if (a <= t) {
        const int fw = truncToInt(double(h) * a + 0.5);
        r = Rect(left, top, int((long long)left + fw), bottom);
        if (centred) {
            const int d = int((w - fw) / 2);
            r.left += d;
            r.right += d;
        }
    } else {
        // a is 0 only for a reversed rectangle (t < 0); the saturating
        // conversion keeps the division by zero defined.
        const int fh = truncToInt(double(w) / a + 0.5);
        r = Rect(left, top, right, int((long long)top + fh));
        if (centred) {
            const int d = int((h - fh) / 2);
            r.top += d;
            r.bottom += d;
        }
    }
    r.normalize();
    return r;
}
