#pragma once

#include "engine/brushes/PointBrush.h"

// "_swaphsv": moves hue, saturation and value each by its own weight, both
// ways, with a brightness factor per direction.
class SwapHsvBrush : public PointBrush {
public:
    SwapHsvBrush();
    ~SwapHsvBrush() override;

    bool dab(const Vec2& position, const Vec2& direction, float t) override;
    void prepare(int steps) override;

private:
    SwapSides sides_;
    ValuePair srcH_, srcS_, srcV_, brightnessDest_;
    ValuePair destH_, destS_, destV_, brightnessSrc_;
};
