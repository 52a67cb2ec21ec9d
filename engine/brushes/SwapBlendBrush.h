#pragma once

#include "engine/brushes/PointBrush.h"
#include "image/BlendKernels.h"
#include "image/CompositeModes.h"

// "_swapblend": composites Q over P and P over Q through blend modes, then
// moves each pixel toward its composite.
class SwapBlendBrush : public PointBrush {
public:
    SwapBlendBrush();
    ~SwapBlendBrush() override;

    bool dab(const Vec2& position, const Vec2& direction, float t) override;
    void prepare(int steps) override;

private:
    SwapSides sides_;
    ValuePair src_, brightnessDest_;
    ValuePair dest_, brightnessSrc_;
    BlendKernel blendDest_;
    BlendKernel blendSrc_;
    CompositeKernel alphaMode_;
};
