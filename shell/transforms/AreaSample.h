#pragma once

#include <cstdint>

class Image;

// What an area sample is divided by: the part of the area that lies inside
// the image (a shrink keeps its borders), or the whole area (outside the
// image counts as empty, as the corners of a rotated crop are).
enum class AreaDivide
{
    Covered,
    Whole
};

// Largest pixel step an area sample handles.
const int kMaxSampleStep = 16;

// Overlap of [p, p+1] with [low, high] along one axis: 1 inside, 0 or less
// when they do not meet.
inline float axisOverlap(int p, float low, float high)
{
    const float a = float(p);
    const float b = a + 1.0f;
    return (high < b ? high : b) - (low > a ? low : a);
}

// The part of the unit square [px, px+1] x [py, py+1] inside the rectangle
// [left, right] x [top, bottom]: the product of the two overlaps, 0 when
// they do not meet.
inline float pixelCoverage(int px, int py, float left, float right, float top, float bottom)
{
    const float ox = axisOverlap(px, left, right);
    const float oy = axisOverlap(py, top, bottom);
    return ox > 0.0f && oy > 0.0f ? ox * oy : 0.0f;
}

// Writes into out (one byte per byte of the pixel step) the mean of the image
// over the rectangle of that centre and half sizes, rounded to the nearest.
// A rectangle within one pixel copies that pixel (zero bytes outside).
void areaSample(const Image& image, float cx, float cy, float halfWidth, float halfHeight,
                uint8_t* out, AreaDivide divide);
