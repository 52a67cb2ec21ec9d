#include "engine/strokes/Vector2Stroke.h"

#include <cmath>

#include "engine/ParamDescriptor.h"
#include "engine/strokes/StrokeRows.h"
#include "engine/brushes/Brush.h"
#include "foundation/Angles.h"

namespace {

// The rows of kTable, in its order.
enum Row {
    kLength, kDirection1, kAngle, kAddField, kAddTransform, kAddMultiplier, kDirection2,
    kVectorMix, kCurl, kVectorMultiplier, kInertia, kBrushVector, kFeedback, kNoPaintStop,
    kRowCount
};

const ParamDescriptor kTable[] = {
    kLengthRow,
    choiceRow("Direction 1 ", "direction", &directionFields).startsAt(1)
        .describedAs("direction function, controls\n brush motion direction"),
    kAngleRow,
    choiceRow("Direction 1 Add", "dir.add", &scalarFields)
        .describedAs("add direction function, controls\n additional brush motion direction"),
    choiceRow("D1.A. Transform", "dir.add.transform", &responseCurves)
        .describedAs("add direction transform function, makes\n"
                     " interesting changes to the stroke direction"),
    rangeRow("D1.A. Multiplier ", "dir.add.mult").spans(-100, 200).hundredths()
        .describedAs("The add direction result\n is multiplied by this value"),
    choiceRow("Direction 2 ", "direction2", &directionFields).startsAt(1)
        .describedAs("direction function, controls\n brush motion direction"),
    rangeRow("Vector Mix ", "vmix").spans(-50, 150).hundredths().randomIn(0, 0, 70)
        .describedAs("Mix of direction vectors 1&2"),
    rangeRow("Curl ", "curl").spans(-200, 200).hundredths().inDegrees().randomIn(-100, 100, 85)
        .describedAs("The amount that the stroke\n curls during application"),
    rangeRow("Vector Multiplier ", "vectormult").spans(-500, 500).startsAt(100).hundredths()
        .randomIn(90, 125, 95)
        .describedAs("The distance the stroke moves\n between each brush application, relative\n"
                     "to the brush size"),
    rangeRow("Inertia ", "inertia").spans(-20, 120).hundredths().randomIn(0, 0, 70)
        .describedAs("Inertia on the vector change through the stroke"),
    rangeRow("Brush Vector ", "brushvector").spans(-200, 250).startsAt(100).hundredths()
        .randomIn(80, 120, 90)
        .describedAs("For a single brush application, the distance scale\n"
                     " between 'source' and 'destination' pixels"),
    kFeedbackRow,
    kNoPaintStopRow,
    kEndRow,
};
static_assert(sizeof kTable / sizeof kTable[0] == kRowCount + 1, "a name for every row");

} // namespace

Vector2Stroke::Vector2Stroke()
    : StrokeAlgorithm(kTable, {kLength, kFeedback, kNoPaintStop}, "Vector2Stroke",
                      "Vector Stroke Algorithm"),
      direction1_(defaultDirectionField()), direction2_(defaultDirectionField()), angle_(0.0f),
      addCurve_(defaultCurve()), addField_(defaultScalarField())
{
}

Vector2Stroke::~Vector2Stroke()
{
}

void Vector2Stroke::prepare(Brush& brush)
{
    StrokeAlgorithm::prepare(brush);
    brushVector_ = realPair(kBrushVector);
    angle_ = static_cast<float>(realValue(kAngle) * kDegToRad);
    curl_ = realPair(kCurl);
    curl_.first = static_cast<float>(curl_.first * kDegToRad);
    curl_.second = static_cast<float>(curl_.second * kDegToRad);
    vectorMultiplier_ = realPair(kVectorMultiplier);
    vectorMultiplier_.first *= brush.spacingScale();
    vectorMultiplier_.second *= brush.spacingScale();
    direction1_ = choice<DirectionFieldFunction>(kDirection1, defaultDirectionField());
    direction2_ = choice<DirectionFieldFunction>(kDirection2, defaultDirectionField());
    vectorMix_ = realPair(kVectorMix);
    addField_ = choice<ScalarFieldFunction>(kAddField, defaultScalarField());
    addCurve_ = choice<ResponseCurve>(kAddTransform, defaultCurve());
    addMultiplier_ = realPair(kAddMultiplier);
    addMultiplier_.first = static_cast<float>(addMultiplier_.first * kTwoPi);
    addMultiplier_.second = static_cast<float>(addMultiplier_.second * kTwoPi);
    inertia_ = realPair(kInertia);
}

void Vector2Stroke::draw(Brush& brush, Vec2 start)
{
    if (!fieldImage)
        return;
    const Image& image = *fieldImage;
    const float dt = 1.0f / static_cast<float>(length_[1]);
    double heading = angle_;
    float t = 0.0f;
    Vec2 previous(0.0f, 0.0f);
    Vec2 p = start;
    const int steps = stepCount(length_[0], length_[1]);
    for (int i = 0; i < steps; ++i) {
        const Vec2 d1 = direction1_(image, p);
        const Vec2 d2 = direction2_(image, p + d1);
        const float mix = vectorMix_.at(t);
        const Vec2 v = d1 * (1.0f - mix) + d2 * mix;
        Vec2 w = v * vectorMultiplier_.at(t);
        const float add = addField_(image, p.x, p.y);
        const double r = addCurve_(add) * addMultiplier_.at(t) + heading;
        const double c = std::cos(r), s = std::sin(r);
        w = Vec2(static_cast<float>(w.x * c - w.y * s), static_cast<float>(w.x * s + w.y * c));
        Vec2 smoothed = w;
        if (i > 0) {
            const float k = inertia_.at(t);
            smoothed = w * (1.0f - k) + previous * k;
        }
        const Vec2 brushVector = smoothed * brushVector_.at(t);
        if (!brush.dab(p, brushVector, t) && stopOnNoPaint_)
            return;
        heading += curl_.at(t);
        previous = smoothed;
        t += dt;
        // The path follows the turned vector; inertia only smooths the brush.
        p = p + w;
    }
}

double Vector2Stroke::coverage(Brush& brush)
{
    return storedLengthCoverage(brush);
}

int Vector2Stroke::minimumLength() const
{
    return storedLength();
}
