#include "shell/colour/ColorMatrixOps.h"

#include <cmath>

static void leftMultiply(ColorMatrix& m, const ColorMatrix& n)
{
    m.multiply(m, n);
}

void saturateColors(ColorMatrix& m, float s)
{
    const float t = 1.0f - s;
    const float a = t * 0.3086f;
    const float b = t * 0.6094f;
    const float c = t * 0.0820f;
    ColorMatrix n;
    n[0] = a + s; n[1] = a;     n[2] = a;
    n[4] = b;     n[5] = b + s; n[6] = b;
    n[8] = c;     n[9] = c;     n[10] = c + s;
    leftMultiply(m, n);
}

void rotateHue(ColorMatrix& m, float turns)
{
    // The product of the turns that bring grey onto the blue axis, the turn
    // about it and the way back, written out in double precision: a turn of 0
    // gives exactly the identity, so unchanged parameters change no pixel.
    const double pi = 2.0 * std::asin(1.0);
    const double theta = double(turns) * 2.0 * pi;
    const double cosine = std::cos(theta);
    const double sine = std::sin(theta);
    const double a = cosine + (1.0 - cosine) / 3.0;
    const double p = (1.0 - cosine) / 3.0 + sine / std::sqrt(3.0);
    const double q = (1.0 - cosine) / 3.0 - sine / std::sqrt(3.0);
    ColorMatrix n;
    n[0] = float(a); n[1] = float(p); n[2] = float(q);
    n[4] = float(q); n[5] = float(a); n[6] = float(p);
    n[8] = float(p); n[9] = float(q); n[10] = float(a);
    leftMultiply(m, n);
}

void translateColors(ColorMatrix& m, float dr, float dg, float db)
{
    ColorMatrix n;
    n.setTranslation(dr, dg, db);
    leftMultiply(m, n);
}

void applyColorMatrix(const ColorMatrix& m, Pixel& pixel)
{
    const float k = 0.0039064027f;
    const float r = float(pixel.r) * k;
    const float g = float(pixel.g) * k;
    const float b = float(pixel.b) * k;
    const uint8_t alpha = pixel.a;
    pixelFromFloats(pixel, r * m[0] + g * m[4] + b * m[8] + m[12],
                    r * m[1] + g * m[5] + b * m[9] + m[13],
                    r * m[2] + g * m[6] + b * m[10] + m[14], 0.0f);
    pixel.a = alpha;
}
