#pragma once

#include "engine/ResponseCurves.h"
#include "engine/fields/ScalarFields.h"
#include "engine/strokes/SinCosMemo.h"
#include "engine/strokes/StrokeAlgorithm.h"

// "ParamAngleStroke": turns by a field angle at each step and lays the dab
// one step ahead at the brush angle, its direction pointing back toward a
// source point on the path already walked. Headings move by (sin h, cos h),
// so heading 0 points down the image.
class ParamAngleStroke : public StrokeAlgorithm {
public:
    ParamAngleStroke();
    ~ParamAngleStroke() override;

    void prepare(Brush& brush) override;
    void draw(Brush& brush, Vec2 start) override;
    double coverage(Brush& brush) override;
    // The longest stroke in steps.
    int minimumLength() const override;
    bool drawsOnlyLength() const override;

private:
    ScalarFieldFunction directionField_;
    ResponseCurve directionCurve_;
    ResponseCurve brushVectorCurve_;
    bool directionCurvePasses_ = true;
    bool brushVectorCurvePasses_ = true;
    bool constantDirection_ = false;
    // Whole radians: stored presets rely on the truncation.
    int motionAngle_;
    int brushAngle_;
    float curl_;
    ValuePair brushVector_;
    bool initialDirection_;
    float angleMultiplier_;
    float step_;
    SinCosMemo brushHeading_;
    SinCosMemo motionHeading_;
};
