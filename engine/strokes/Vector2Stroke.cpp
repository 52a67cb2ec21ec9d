#include "engine/strokes/Vector2Stroke.h"

#include <cmath>

#include "engine/ParamDescriptor.h"
#include "engine/strokes/StrokeRows.h"
#include "engine/brushes/Brush.h"
#include "engine/strokes/StrokeCoverage.h"
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
    {2, 0, 0, 1, 0, "Direction 1 ", "direction", 5, &directionFields, 0, 0, 0,
     "direction function, controls\n brush motion direction"},
    kAngleRow,
    {2, 0, 0, 0, 0, "Direction 1 Add", "dir.add", 5, &scalarFields, 0, 0, 0,
     "add direction function, controls\n additional brush motion direction"},
    {2, 0, 0, 0, 0, "D1.A. Transform", "dir.add.transform", 5, &responseCurves, 0, 0, 0,
     "add direction transform function, makes\n interesting changes to the stroke direction"},
    {3, -100, 200, 0, 2, "D1.A. Multiplier ", "dir.add.mult", 0, {}, 0, 0, 0,
     "The add direction result\n is multiplied by this value"},
    {2, 0, 0, 1, 0, "Direction 2 ", "direction2", 5, &directionFields, 0, 0, 0,
     "direction function, controls\n brush motion direction"},
    {3, -50, 150, 0, 2, "Vector Mix ", "vmix", 0, {}, 0, 0, 70, "Mix of direction vectors 1&2"},
    {3, -200, 200, 0, 2, "Curl ", "curl", 1, {}, -100, 100, 85,
     "The amount that the stroke\n curls during application"},
    {3, -500, 500, 100, 2, "Vector Multiplier ", "vectormult", 0, {}, 90, 125, 95,
     "The distance the stroke moves\n between each brush application, relative\nto the brush size"},
    {3, -20, 120, 0, 2, "Inertia ", "inertia", 0, {}, 0, 0, 70,
     "Inertia on the vector change through the stroke"},
    {3, -200, 250, 100, 2, "Brush Vector ", "brushvector", 0, {}, 80, 120, 90,
     "For a single brush application, the distance scale\n between 'source' and 'destination' pixels"},
    kFeedbackRow,
    kNoPaintStopRow,
    {0, 0, 0, 0, 0, "", "", 0, {}, 0, 0, 0, ""},
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
    return strokeCoverage(brush.meanSize(), storedLength());
}

int Vector2Stroke::minimumLength() const
{
    return storedLength();
}
