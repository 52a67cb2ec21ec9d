#pragma once

#include "foundation/Rect.h"

class Image;

// What a render paints: the unchanged reference picture the image fields
// sample, the target the brushes write, the area in the coordinates strokes
// and application patterns work in, and the target pixel matching the area's
// top-left corner. Built on the caller's stack; the images are not owned.
struct Canvas
{
    Image* reference = nullptr;
    Image* target = nullptr;
    Rect area;
    Point origin{0, 0};

    // The whole reference picture painted into a target of its size, at the
    // target's top-left corner.
    static Canvas whole(Image& reference, Image& target);

    // What painting code adds to area coordinates to address target pixels.
    Point pixelOffset() const { return origin - Point{area.left, area.top}; }
};
