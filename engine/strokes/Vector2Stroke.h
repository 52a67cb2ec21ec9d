#pragma once

#include "engine/ResponseCurves.h"
#include "engine/fields/DirectionFields.h"
#include "engine/fields/ScalarFields.h"
#include "engine/strokes/StrokeAlgorithm.h"

// "Vector2Stroke": steers by vectors from two direction fields, turned by a
// running stroke angle plus a curve of a scalar field; inertia smooths only
// the direction handed to the brush.
class Vector2Stroke : public StrokeAlgorithm {
public:
    Vector2Stroke();
    ~Vector2Stroke() override;

    void prepare(Brush& brush) override;
    void draw(Brush& brush, Vec2 start) override;
    double coverage(Brush& brush) override;
    // The first value of "length" as stored.
    int minimumLength() const override;

private:
    DirectionFieldFunction direction1_;
    DirectionFieldFunction direction2_;
    float angle_; // radians
    ValuePair vectorMultiplier_;
    ValuePair curl_; // radians per step
    ValuePair brushVector_;
    ValuePair vectorMix_;
    ValuePair addMultiplier_; // times 2 pi
    ValuePair inertia_;
    ResponseCurve addCurve_;
    ScalarFieldFunction addField_;
};
