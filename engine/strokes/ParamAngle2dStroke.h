#pragma once

#include "engine/ResponseCurves.h"
#include "engine/fields/ScalarFields.h"
#include "engine/strokes/StrokeAlgorithm.h"

// "ParamAngle2dStroke": heads along the angle a scalar field gives through a
// curve, with curl, stickiness to the first direction, a distance field and
// inertia. Each dab is laid one step late, at the position before the move.
class ParamAngle2dStroke : public StrokeAlgorithm {
public:
    ParamAngle2dStroke();
    ~ParamAngle2dStroke() override;

    void prepare(Brush& brush) override;
    void draw(Brush& brush, Vec2 start) override;
    double coverage(Brush& brush) override;
    int minimumLength() const override;

private:
    ScalarFieldFunction directionField_;
    ScalarFieldFunction distanceField_;
    ResponseCurve directionCurve_;
    float stepDistance_;
    float stepGrowth_;
    ValuePair brushVector_;
    ValuePair curl_;          // radians per step
    float strokeAngle_;       // radians
    float angleMultiplier_;
    ValuePair initialDirection_;
    ValuePair distanceMix_;
    ValuePair inertia_;
};
