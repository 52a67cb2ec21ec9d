#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

// Sine and cosine of the last angle asked for. Stroke headings often stay the
// same from step to step and stroke to stroke (a constant direction field, no
// curl), and the library sine is the most expensive thing in a step. The angle
// is compared bit for bit, so -0 and NaN payloads never share a result.
class SinCosMemo {
public:
    void set(double angle)
    {
        uint64_t bits;
        std::memcpy(&bits, &angle, sizeof bits);
        if (valid_ && bits == bits_)
            return;
        sin_ = std::sin(angle);
        cos_ = std::cos(angle);
        bits_ = bits;
        valid_ = true;
    }
    double sin() const { return sin_; }
    double cos() const { return cos_; }

private:
    uint64_t bits_ = 0;
    bool valid_ = false;
    double sin_ = 0.0;
    double cos_ = 0.0;
};
