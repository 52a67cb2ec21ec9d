#pragma once

#include "foundation/NamedRegistry.h"

// A transfer function of one number: strokes and brushes reshape a measure
// through it. Inputs are meant to lie in 0..1; nothing is clamped.
typedef double (*ResponseCurve)(const float& x);

class CurveRegistry : public NamedRegistry<ResponseCurve> {
public:
    CurveRegistry();
    ~CurveRegistry() override;
};

constexpr unsigned kResponseCurveCount = 65;

extern CurveRegistry responseCurves;

// "pass", the identity.
ResponseCurve defaultCurve();

// True for the curves that draw from the runtime generator on every call:
// a caller may skip a repeated call only when this is false.
bool curveDrawsRandom(ResponseCurve curve);
