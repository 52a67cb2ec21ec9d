#pragma once

#include "foundation/Vec2.h"
#include "shell/transforms/AreaSample.h"

class Image;
class RenderCallbacks;

// Fills every destination pixel with an area sample of the source around a
// point of an affine grid: row y starts at origin + y * rowStep and each
// pixel moves the point by columnStep. Progress after every eighth row; false
// when the sink stops the run or the images are empty or their pixel steps
// differ; FrameworkMemoryException when scratch memory runs out. Images of 3 or 4 bytes per pixel take faster
// paths (one for axis-aligned grids) with the bytes of renderTransformedPlain.
bool renderTransformed(const Image& source, Image& destination, const Vec2& origin,
                       const Vec2& columnStep, const Vec2& rowStep, float halfWidth,
                       float halfHeight, AreaDivide divide, RenderCallbacks& sink);
// The same, one areaSample per pixel.
bool renderTransformedPlain(const Image& source, Image& destination, const Vec2& origin,
                            const Vec2& columnStep, const Vec2& rowStep, float halfWidth,
                            float halfHeight, AreaDivide divide, RenderCallbacks& sink);
