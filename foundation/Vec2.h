#pragma once

// Two-dimensional float vector, passed and returned by value.
class Vec2
{
public:
    Vec2() : x(0.0f), y(0.0f) {}
    Vec2(float x_, float y_) : x(x_), y(y_) {}
    Vec2(const Vec2& other) = default;
    Vec2& operator=(const Vec2& other) = default;
    virtual ~Vec2() {}

    Vec2 operator*(const float& s) const { return Vec2(x * s, y * s); }
    Vec2 operator/(const float& s) const { return Vec2(x / s, y / s); }
    Vec2 operator+(const Vec2& b) const { return Vec2(x + b.x, y + b.y); }
    Vec2 operator-(const Vec2& b) const { return Vec2(x - b.x, y - b.y); }

    // a * (1 - t) + b * t in single precision; t is not clamped.
    static Vec2 lerp(float t, const Vec2& a, const Vec2& b);
    // Both coordinates strictly between -limit and limit (NaN is not).
    bool within(float limit) const { return x > -limit && x < limit && y > -limit && y < limit; }

    float x;
    float y;
};
