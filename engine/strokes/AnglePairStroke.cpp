#include "engine/strokes/AnglePairStroke.h"

#include <cmath>

#include "engine/ParamDescriptor.h"
#include "engine/strokes/StrokeRows.h"
#include "engine/brushes/Brush.h"
#include "foundation/Angles.h"

namespace {

// The rows of kTable, in its order.
enum Row {
    kLength, kDirection1, kAngleMultiplier1, kDirection1Transform, kAngle1, kDirection2,
    kAngleMultiplier2, kDirection2Transform, kAngle2, kAngleMix, kDistanceMultiplier,
    kDistanceGrowth, kBrushVector, kInertia, kFeedback, kNoPaintStop, kPreAdd1, kRowCount
};

const ParamDescriptor kTable[] = {
    kLengthRow,
    choiceRow("Direction 1", "direction1", &scalarFields).startsAt(1)
        .describedAs("direction 1 function, controls\n brush motion direction"),
    rangeRow("Angle 1 Multiplier ", "amult1").spans(-1200, 1200).startsAt(100).hundredths()
        .describedAs("The direction result for the first angle component \n"
                     " is multiplied by this value"),
    choiceRow("Angle 1 Transform", "dir1.transform", &responseCurves)
        .describedAs("direction 1 transform function, makes\n"
                     " interesting changes to the stroke direction"),
    singleRow("Stroke Angle 1", "angle1").spans(-180, 180).inDegrees()
        .describedAs("The angle that the stroke takes\n"
                     " (added to the Direction 1 function result)"),
    choiceRow("Direction 2", "direction2", &scalarFields).startsAt(1)
        .describedAs("direction function, controls\n brush motion direction"),
    rangeRow("Angle Multiplier ", "amult2").spans(-1200, 1200).startsAt(100).hundredths()
        .describedAs("The direction result\n is multiplied by this value"),
    choiceRow("Angle Transform ", "dir2.transform", &responseCurves)
        .describedAs("final angle transform function, makes\n"
                     " interesting changes to the stroke direction"),
    singleRow("Stroke Angle ", "angle2").spans(-180, 180).inDegrees()
        .describedAs("The angle that the stroke takes\n"
                     " (added to the final Direction angle function result)"),
    rangeRow("Angle Mix ", "amix").spans(-100, 200).startsAt(100).hundredths()
        .describedAs("Mix function \n for direction/angle 1 & 2"),
    singleRow("Distance Multiplier ", "dmult").spans(5, 400).startsAt(100).hundredths()
        .randomIn(90, 125, 95)
        .describedAs("The distance the stroke moves\n between each brush application, relative\n"
                     "to the brush size"),
    kDistanceGrowthRow,
    rangeRow("Brush Vector ", "brushvector").spans(-100, 250).startsAt(100).hundredths()
        .randomIn(80, 120, 90)
        .describedAs("For a single brush application, the distance scale\n"
                     " between 'source' and 'destination' pixels"),
    rangeRow("Inertia ", "inertia").spans(-20, 120).hundredths().randomIn(0, 0, 70)
        .describedAs("Controls how easily the motion vector\n changes through the stroke"),
    kFeedbackRow,
    kNoPaintStopRow,
    checkBoxRow("Premult/add 1", "preadd1")
        .describedAs("apply direction 1 add/multipy\nbefore applying transform function"),
    kEndRow,
};
static_assert(sizeof kTable / sizeof kTable[0] == kRowCount + 1, "a name for every row");

} // namespace

AnglePairStroke::AnglePairStroke()
    : StrokeAlgorithm(kTable, {kLength, kFeedback, kNoPaintStop}, "AnglePairStroke",
                      "Angle Pair Algorithm"),
      direction1Field_(defaultScalarField()), direction2Field_(defaultScalarField()),
      direction1Curve_(defaultCurve()), direction2Curve_(defaultCurve()),
      preAdd1_(false), strokeAngle1_(0.0f), strokeAngle2_(0.0f), stepDistance_(1.0f),
      stepGrowth_(1.0f)
{
}

AnglePairStroke::~AnglePairStroke()
{
}

void AnglePairStroke::prepare(Brush& brush)
{
    StrokeAlgorithm::prepare(brush);
    preAdd1_ = isChecked(kPreAdd1);
    angleMultiplier1_ = realPair(kAngleMultiplier1);
    strokeAngle1_ = static_cast<float>(realValue(kAngle1) * kDegToRad);
    direction1Field_ = choice<ScalarFieldFunction>(kDirection1, defaultScalarField());
    direction1Curve_ = choice<ResponseCurve>(kDirection1Transform, defaultCurve());
    direction2Field_ = choice<ScalarFieldFunction>(kDirection2, defaultScalarField());
    angleMix_ = realPair(kAngleMix);
    angleMultiplier2_ = realPair(kAngleMultiplier2);
    strokeAngle2_ = static_cast<float>(realValue(kAngle2) * kDegToRad);
    direction2Curve_ = choice<ResponseCurve>(kDirection2Transform, defaultCurve());
    brushVector_ = realPair(kBrushVector);
    // Unlike the other strokes the brush scales each step in draw, not here.
    stepDistance_ = realValue(kDistanceMultiplier);
    if (!(stepDistance_ >= 1.0f))
        stepDistance_ = 1.0f;
    stepGrowth_ = realValue(kDistanceGrowth);
    inertia_ = realPair(kInertia);
}

void AnglePairStroke::draw(Brush& brush, Vec2 start)
{
    if (!fieldImage)
        return;
    const Image& image = *fieldImage;
    const int steps = stepCount(length_[0], length_[1]);
    const float dt = 1.0f / static_cast<float>(length_[1]);

    Vec2 position = start;
    Vec2 motion;
    float t = 0.0f;
    float distance = stepDistance_;
    for (int i = 0; i < steps; ++i) {
        const float f1 = direction1Field_(image, position.x, position.y);
        const float m1 = angleMultiplier1_.at(t);
        double a1;
        if (preAdd1_) {
            const float x = f1 * m1 + strokeAngle1_;
            a1 = direction1Curve_(x);
        } else {
            a1 = direction1Curve_(f1) * m1 + strokeAngle1_;
        }
        const float f2 = direction2Field_(image, position.x, position.y);
        const float m2 = angleMultiplier2_.at(t);
        const double a2 = direction2Curve_(f2) * m2 + strokeAngle2_;
        const double mix = angleMix_.at(t);
        const double theta = kTwoPi * ((1.0 - mix) * a1 + mix * a2);
        const float length = distance * brush.sizeAt(t);
        // The second multiplier and stroke angle act again on the mixed angle.
        const double phi = m2 * theta + strokeAngle2_;
        const Vec2 step(static_cast<float>(length * std::cos(phi)),
                        static_cast<float>(length * std::sin(phi)));
        const Vec2 brushVector = step * brushVector_.at(t);
        if (!brush.dab(position, brushVector, t) && stopOnNoPaint_)
            return;
        motion = i == 0 ? step : Vec2::lerp(inertia_.at(t), step, motion);
        position = position + motion;
        distance *= stepGrowth_;
        t += dt;
    }
}

double AnglePairStroke::coverage(Brush& brush)
{
    return storedLengthCoverage(brush);
}

int AnglePairStroke::minimumLength() const
{
    return storedLength();
}
