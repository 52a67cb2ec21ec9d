#pragma once

#include "engine/ResponseCurves.h"
#include "engine/fields/ScalarFields.h"
#include "engine/strokes/StrokeAlgorithm.h"

// "AnglePairStroke": mixes two field angles, each through its own curve,
// multiplier and stroke angle; each step follows the brush's size.
class AnglePairStroke : public StrokeAlgorithm {
public:
    AnglePairStroke();
    ~AnglePairStroke() override;

    void prepare(Brush& brush) override;
    void draw(Brush& brush, Vec2 start) override;
    double coverage(Brush& brush) override;
    int minimumLength() const override;

private:
    ScalarFieldFunction direction1Field_;
    ScalarFieldFunction direction2Field_;
    ResponseCurve direction1Curve_;
    ResponseCurve direction2Curve_;
    bool preAdd1_;
    float strokeAngle1_; // radians
    float strokeAngle2_; // radians
    ValuePair angleMultiplier1_;
    ValuePair angleMultiplier2_;
    ValuePair angleMix_;
    float stepDistance_;
    float stepGrowth_;
    ValuePair brushVector_;
    ValuePair inertia_;
};
