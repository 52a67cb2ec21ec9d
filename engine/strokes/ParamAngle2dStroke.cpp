#include "engine/strokes/ParamAngle2dStroke.h"

#include <cmath>

#include "engine/ParamDescriptor.h"
#include "engine/strokes/StrokeRows.h"
#include "engine/brushes/Brush.h"
#include "foundation/Angles.h"

namespace {

// The rows of kTable, in its order.
enum Row {
    kLength, kDirection, kDirectionTransform, kAngle, kAngleMultiplier, kCurl, kBrushVector,
    kDistanceMultiplier, kDistanceGrowth, kInitialDirection, kDistanceField, kDistanceMix,
    kInertia, kFeedback, kNoPaintStop, kRowCount
};

const ParamDescriptor kTable[] = {
    kLengthRow,
    choiceRow("Direction ", "direction", &scalarFields).startsAt(1)
        .describedAs("direction function, controls\n brush motion direction"),
    kDirectionTransformRow,
    kAngleRow,
    kAngleMultiplierRow,
    rangeRow("Curl ", "curl").spans(-500, 500).hundredths().inDegrees().randomIn(-100, 100, 85)
        .describedAs("The amount that the stroke\n curls during application"),
    rangeRow("Brush Vector ", "brushvector").spans(-100, 250).startsAt(100).hundredths()
        .randomIn(80, 120, 90)
        .describedAs("For a single brush application, the distance scale\n"
                     " between 'source' and 'destination' pixels"),
    singleRow("Distance Multiplier ", "dmult").spans(5, 400).startsAt(100).hundredths()
        .randomIn(90, 125, 95)
        .describedAs("The distance the stroke moves\n between each brush application, relative\n"
                     "to the brush size"),
    kDistanceGrowthRow,
    rangeRow("Initial Direction", "initdir").spans(-50, 150).hundredths()
        .describedAs("Amount to adhere to original direction\n (direction stickiness)"),
    choiceRow("Distance Function ", "distfunc", &scalarFields).startsAt(1)
        .describedAs("Distance function, multiples offset\n distance by function"),
    rangeRow("Distance Func. mix", "distfuncmix").spans(-100, 200).hundredths()
        .describedAs("Multiplier for\n distance function"),
    rangeRow("Inertia ", "inertia").spans(-20, 120).hundredths().randomIn(0, 0, 70)
        .describedAs("Controls how easily the motion vector\n changes through the stroke"),
    kFeedbackRow,
    kNoPaintStopRow,
    kEndRow,
};
static_assert(sizeof kTable / sizeof kTable[0] == kRowCount + 1, "a name for every row");

} // namespace

ParamAngle2dStroke::ParamAngle2dStroke()
    : StrokeAlgorithm(kTable, {kLength, kFeedback, kNoPaintStop}, "ParamAngle2dStroke",
                      "Stroke Algorithm 2"),
      directionField_(defaultScalarField()), distanceField_(defaultScalarField()),
      directionCurve_(defaultCurve()), stepDistance_(1.0f), stepGrowth_(1.0f),
      strokeAngle_(0.0f), angleMultiplier_(1.0f)
{
}

ParamAngle2dStroke::~ParamAngle2dStroke()
{
}

void ParamAngle2dStroke::prepare(Brush& brush)
{
    StrokeAlgorithm::prepare(brush);
    brushVector_ = realPair(kBrushVector);
    angleMultiplier_ = realValue(kAngleMultiplier);
    stepDistance_ = realValue(kDistanceMultiplier) * brush.spacingScale();
    if (!(stepDistance_ >= 1.0f))
        stepDistance_ = 1.0f;
    stepGrowth_ = realValue(kDistanceGrowth);
    curl_ = realPair(kCurl);
    curl_.first = static_cast<float>(curl_.first * kDegToRad);
    curl_.second = static_cast<float>(curl_.second * kDegToRad);
    strokeAngle_ = static_cast<float>(realValue(kAngle) * kDegToRad);
    initialDirection_ = realPair(kInitialDirection);
    directionField_ = choice<ScalarFieldFunction>(kDirection, defaultScalarField());
    distanceField_ = choice<ScalarFieldFunction>(kDistanceField, defaultScalarField());
    directionCurve_ = choice<ResponseCurve>(kDirectionTransform, defaultCurve());
    distanceMix_ = realPair(kDistanceMix);
    inertia_ = realPair(kInertia);
}

void ParamAngle2dStroke::draw(Brush& brush, Vec2 start)
{
    if (!fieldImage)
        return;
    const Image& image = *fieldImage;
    const int steps = stepCount(length_[0], length_[1]);
    const float dt = 1.0f / static_cast<float>(length_[1]);

    Vec2 position = start;
    Vec2 previousPosition;
    Vec2 previousBrushVector;
    Vec2 motion;
    float t = 0.0f;
    float distance = stepDistance_;
    double accumulated = strokeAngle_;
    double firstDirection = 0.0;

    // N + 1 iterations for N dabs: the last direction computed is never painted.
    for (int i = 0; i <= steps; ++i) {
        const float v = directionField_(image, position.x, position.y);
        const double r = directionCurve_(v) * kTwoPi;
        if (i == 0)
            firstDirection = r;
        const double stick = initialDirection_.at(t);
        const double theta =
            angleMultiplier_ * ((1.0 - stick) * r + stick * firstDirection) + accumulated;
        Vec2 step(static_cast<float>(distance * std::cos(theta)),
                  static_cast<float>(distance * std::sin(theta)));
        const Vec2 brushVector = step * brushVector_.at(t);

        if (i >= 1 && !brush.dab(previousPosition, previousBrushVector, t) && stopOnNoPaint_)
            return;

        // Read after the dab, so with feedback the distance field sees it.
        const float w = distanceField_(image, position.x, position.y);
        const float stretch = 1.0f + distanceMix_.at(t) * (2.0f * w - 1.0f);
        step = step * stretch;
        motion = i == 0 ? step : Vec2::lerp(inertia_.at(t), step, motion);

        previousPosition = position;
        position = position + motion;
        previousBrushVector = brushVector;

        accumulated += curl_.at(t);
        distance *= stepGrowth_;
        t += dt;
    }
}

double ParamAngle2dStroke::coverage(Brush& brush)
{
    return storedLengthCoverage(brush);
}

int ParamAngle2dStroke::minimumLength() const
{
    return storedLength();
}
