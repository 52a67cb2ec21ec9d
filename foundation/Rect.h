#pragma once

// Integer point.
struct Point
{
    Point() : x(0), y(0) {}
    Point(int x_, int y_) : x(x_), y(y_) {}

    Point operator-(const Point& other) const { return Point(x - other.x, y - other.y); }

    int x;
    int y;
};

// Integer rectangle. Whether right and bottom lie inside is up to each user:
// image bounds treat them as exclusive, overlaps() as inclusive.
class Rect
{
public:
    Rect() : left(0), top(0), right(0), bottom(0) {}
    Rect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    Rect(const Point& topLeft, const Point& bottomRight)
        : left(topLeft.x), top(topLeft.y), right(bottomRight.x), bottom(bottomRight.y) {}
    Rect(const Rect& other) = default;
    Rect& operator=(const Rect& other) = default;
    virtual ~Rect() {}

    // Orders the corners so that left <= right and top <= bottom.
    void normalize();
    // Inclusive test: rectangles that only touch overlap.
    bool overlaps(const Rect& other) const;
    // Intersects in place with other (normalised first); no overlap gives
    // the all-zero rectangle.
    Rect& intersect(const Rect& other);
    Rect intersected(const Rect& other) const;
    // The largest rectangle inside this one with shape's aspect ratio,
    // anchored top-left or centred in the free direction.
    Rect fitAspect(const Rect& shape, bool centred) const;

    int left;
    int top;
    int right;
    int bottom;
};
