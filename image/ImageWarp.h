#pragma once

#include "foundation/Rect.h"
#include "foundation/Vec2.h"

class ColorMatrix;
class Image;
class PixelSource;

// Shows the source's centre at `point`, magnified by `scale` and turned by
// `angle` (radians), blended over the destination.
void transformImage(const Image& source, Image& destination, const Vec2& point, float scale, float angle);

// Maps the rectangle's corners through M into the source and fills the
// rectangle of the destination from there.
void warpImageByMatrix(const Image& source, Image& destination, const class ColorMatrix& m, const Rect& rect);

// Fills rows y0..y1-1 of the destination: each row samples the source along
// the line from the left edge (A to C) to the right edge (B to D), bilinearly,
// blended into the destination. Rows outside the destination are skipped but
// still advance the edges.
void warpQuad(Image& destination, const PixelSource& source, int x0, int y0, int x1, int y1,
              const Vec2& a, const Vec2& b, const Vec2& c, const Vec2& d);
void warpQuad(Image& destination, const PixelSource& source, const Rect& rect,
              const Vec2& a, const Vec2& b, const Vec2& c, const Vec2& d);
