#pragma once

#include <cstdint>
#include <vector>

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
    // One direction's channel mix for one (intensity, bias, lighten): the
    // two truncated halves of the formula for every byte value, so a dab
    // adds two table entries per channel instead of evaluating it.
    struct SwapTable {
        uint32_t key[3];
        bool filled;
        int32_t own[256];
        int32_t other[256];
    };
    const SwapTable& swapTable(float intensity, float bias, float lighten);
    Pixel swapPixel(const Pixel& own, const Pixel& other, float intensity, float bias,
                    float lighten);

    // A few slots chosen by the values' bits: a stroke meets one triple per
    // step, and the default values give one triple for every step.
    std::vector<SwapTable> tables_;
    ValuePair pushIntensity_, pushLighten_, pushBias_, pushSticky_;
    ValuePair pullIntensity_, pullLighten_, pullBias_, pullSticky_;
    PaintIfPredicate limit_;
};
