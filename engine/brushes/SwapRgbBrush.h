#pragma once

#include "engine/brushes/PointBrush.h"

// "_swaprgb": moves red, green and blue each by its own weight, both ways.
class SwapRgbBrush : public PointBrush {
public:
    SwapRgbBrush();
    ~SwapRgbBrush() override;

    bool dab(const Vec2& position, const Vec2& direction, float t) override;
    void prepare(int steps) override;

private:
    SwapSides sides_;
    ValuePair srcR_, srcG_, srcB_;
    ValuePair destR_, destG_, destB_;
};
