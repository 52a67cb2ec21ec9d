#include "image/ColorMatrix.h"

#include "foundation/Numeric.h"

#include <cmath>
#include <cstring>

ColorMatrix::ColorMatrix()
{
    setIdentity();
}

void ColorMatrix::clear()
{
    for (float& v : m)
        v = 0.0f;
}

void ColorMatrix::setIdentity()
{
    clear();
    m[0] = m[5] = m[10] = m[15] = 1.0f;
}

void ColorMatrix::setRotation(const float& s, const float& c)
{
    setIdentity();
    m[0] = c;
    m[1] = s;
    m[4] = -s;
    m[5] = c;
}

void ColorMatrix::setTranslation(float x, float y, float z)
{
    setIdentity();
    m[12] = x;
    m[13] = y;
    m[14] = z;
}

void ColorMatrix::setScale(float x, float y, float z)
{
    setIdentity();
    m[0] = x;
    m[5] = y;
    m[10] = z;
}

void ColorMatrix::multiply(ColorMatrix& out, const ColorMatrix& left) const
{
    float r[16];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += double(left.m[4 * i + k]) * double(m[4 * k + j]);
            r[4 * i + j] = float(sum);
        }
    std::memcpy(out.m, r, sizeof r);
}

bool ColorMatrix::inverse(ColorMatrix& out) const
{
    const float* a = m;
    float inv[16];
    inv[0] = a[5] * a[10] * a[15] - a[5] * a[11] * a[14] - a[9] * a[6] * a[15]
           + a[9] * a[7] * a[14] + a[13] * a[6] * a[11] - a[13] * a[7] * a[10];
    inv[4] = -a[4] * a[10] * a[15] + a[4] * a[11] * a[14] + a[8] * a[6] * a[15]
           - a[8] * a[7] * a[14] - a[12] * a[6] * a[11] + a[12] * a[7] * a[10];
    inv[8] = a[4] * a[9] * a[15] - a[4] * a[11] * a[13] - a[8] * a[5] * a[15]
           + a[8] * a[7] * a[13] + a[12] * a[5] * a[11] - a[12] * a[7] * a[9];
    inv[12] = -a[4] * a[9] * a[14] + a[4] * a[10] * a[13] + a[8] * a[5] * a[14]
            - a[8] * a[6] * a[13] - a[12] * a[5] * a[10] + a[12] * a[6] * a[9];
    inv[1] = -a[1] * a[10] * a[15] + a[1] * a[11] * a[14] + a[9] * a[2] * a[15]
           - a[9] * a[3] * a[14] - a[13] * a[2] * a[11] + a[13] * a[3] * a[10];
    inv[5] = a[0] * a[10] * a[15] - a[0] * a[11] * a[14] - a[8] * a[2] * a[15]
           + a[8] * a[3] * a[14] + a[12] * a[2] * a[11] - a[12] * a[3] * a[10];
    inv[9] = -a[0] * a[9] * a[15] + a[0] * a[11] * a[13] + a[8] * a[1] * a[15]
           - a[8] * a[3] * a[13] - a[12] * a[1] * a[11] + a[12] * a[3] * a[9];
    inv[13] = a[0] * a[9] * a[14] - a[0] * a[10] * a[13] - a[8] * a[1] * a[14]
            + a[8] * a[2] * a[13] + a[12] * a[1] * a[10] - a[12] * a[2] * a[9];
    inv[2] = a[1] * a[6] * a[15] - a[1] * a[7] * a[14] - a[5] * a[2] * a[15]
           + a[5] * a[3] * a[14] + a[13] * a[2] * a[7] - a[13] * a[3] * a[6];
    inv[6] = -a[0] * a[6] * a[15] + a[0] * a[7] * a[14] + a[4] * a[2] * a[15]
           - a[4] * a[3] * a[14] - a[12] * a[2] * a[7] + a[12] * a[3] * a[6];
    inv[10] = a[0] * a[5] * a[15] - a[0] * a[7] * a[13] - a[4] * a[1] * a[15]
            + a[4] * a[3] * a[13] + a[12] * a[1] * a[7] - a[12] * a[3] * a[5];
    inv[14] = -a[0] * a[5] * a[14] + a[0] * a[6] * a[13] + a[4] * a[1] * a[14]
            - a[4] * a[2] * a[13] - a[12] * a[1] * a[6] + a[12] * a[2] * a[5];
    inv[3] = -a[1] * a[6] * a[11] + a[1] * a[7] * a[10] + a[5] * a[2] * a[11]
           - a[5] * a[3] * a[10] - a[9] * a[2] * a[7] + a[9] * a[3] * a[6];
    inv[7] = a[0] * a[6] * a[11] - a[0] * a[7] * a[10] - a[4] * a[2] * a[11]
           + a[4] * a[3] * a[10] + a[8] * a[2] * a[7] - a[8] * a[3] * a[6];
    inv[11] = -a[0] * a[5] * a[11] + a[0] * a[7] * a[9] + a[4] * a[1] * a[11]
            - a[4] * a[3] * a[9] - a[8] * a[1] * a[7] + a[8] * a[3] * a[5];
    inv[15] = a[0] * a[5] * a[10] - a[0] * a[6] * a[9] - a[4] * a[1] * a[10]
            + a[4] * a[2] * a[9] + a[8] * a[1] * a[6] - a[8] * a[2] * a[5];

    const float det = a[0] * inv[0] + a[1] * inv[4] + a[2] * inv[8] + a[3] * inv[12];
    const float reciprocal = 1.0f / det;
    for (int i = 0; i < 16; ++i)
        out.m[i] = inv[i] * reciprocal;
    return det != 0.0f && std::isfinite(reciprocal);
}

void ColorMatrix::transformPoint(float out[3], const float p[3]) const
{
    const double x = p[0], y = p[1], z = p[2];
    const float rx = float(m[0] * x + m[4] * y + m[8] * z + m[12]);
    const float ry = float(m[1] * x + m[5] * y + m[9] * z + m[13]);
    const float rz = float(m[2] * x + m[6] * y + m[10] * z + m[14]);
    out[0] = rx;
    out[1] = ry;
    out[2] = rz;
}

static int channelFromFloat(float v)
{
    return clampInt(roundToInt(255.99f * v - 0.5f), 0, 255);
}

void pixelFromFloats(Pixel& out, float r, float g, float b, float a)
{
    out = Pixel(channelFromFloat(r), channelFromFloat(g), channelFromFloat(b), channelFromFloat(a));
}
