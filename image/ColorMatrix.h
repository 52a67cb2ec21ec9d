#pragma once

#include "image/Image.h"

// 4x4 single-precision matrix, row-major (entry = 4 * row + column). Points are
// row vectors (x, y, z, 1) * M, so the translation sits in entries 12..14.
class ColorMatrix
{
public:
    float m[16];

    ColorMatrix();                       // identity
    virtual ~ColorMatrix() {}

    void clear();                        // all entries 0
    void setIdentity();
    void setRotation(const float& s, const float& c);
    void setTranslation(float x, float y, float z);
    void setScale(float x, float y, float z);

    // out = left * this; accumulated in double. out may be this or left.
    void multiply(ColorMatrix& out, const ColorMatrix& left) const;
    // Cofactor inverse. A singular matrix gives non-finite entries (as stored
    // matrices have always had); the result says whether the determinant was
    // finite and non-zero.
    bool inverse(ColorMatrix& out) const;
    // (x, y, z, 1) * M without the division by a fourth coordinate.
    void transformPoint(float out[3], const float p[3]) const;

    float& operator[](int i) { return m[i]; }
    const float& operator[](int i) const { return m[i]; }
};

// Each channel (1.0 = full) becomes round(255.99 * v - 0.5), ties to even,
// clamped to 0..255.
void pixelFromFloats(Pixel& out, float r, float g, float b, float a);
