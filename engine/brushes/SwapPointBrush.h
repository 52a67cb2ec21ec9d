#pragma once

#include "engine/PaintIf.h"
#include "engine/brushes/PointBrush.h"

// "_SwapPoint": pushes Q into P and pulls P into Q with intensity, bias and
// lighten per direction.
class SwapPointBrush : public PointBrush {
public:
    SwapPointBrush();
    ~SwapPointBrush() override;

    bool dab(const Vec2& position, const Vec2& direction, float t) override;
    void prepare(int steps) override;

private:
    ValuePair pushIntensity_, pushLighten_, pushBias_, pushSticky_;
    ValuePair pullIntensity_, pullLighten_, pullBias_, pullSticky_;
    PaintIfPredicate limit_;
};
