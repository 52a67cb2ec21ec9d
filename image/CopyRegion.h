#pragma once

#include "foundation/Rect.h"

class Image;

// Clips a copy of width x height pixels from (sx, sy) of `source` to (dx, dy)
// of `destination` to both images, rewriting all six numbers; a width or
// height of 0 or less afterwards means nothing is to be copied. A width or
// height below 1 on entry sets all six to 0.
void clipCopyRegion(const Image& destination, const Image& source, int& dx, int& dy, int& sx,
                    int& sy, int& width, int& height);

// A copy request: a source rectangle of one image to a point of another.
class CopyRegion
{
public:
    CopyRegion(const Image& source, Image& destination, const Rect& sourceRect,
               const Point& destinationPoint);

    // Clips the request to both images, moving the source rectangle and the
    // point together so they keep addressing the same pixels; an empty
    // result sets both to 0.
    void clip();

    const Image* source;
    Image* destination;
    Rect sourceRect;
    Point point;
};
