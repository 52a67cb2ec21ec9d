#include "engine/strokes/ParamAngleStroke.h"

#include <cmath>

#include "engine/ParamDescriptor.h"
#include "engine/strokes/StrokeRows.h"
#include "engine/brushes/Brush.h"
#include "engine/fields/ImageMeasures.h"
#include "foundation/Angles.h"
#include "foundation/Numeric.h"

namespace {

// The rows of kTable, in its order.
enum Row {
    kLength, kDirection, kDirectionTransform, kAngleMultiplier, kMotionAngle, kCurl, kBrushVector,
    kBrushVectorTransform, kBrushAngle, kDistanceMultiplier, kFeedback, kInitialDirection,
    kNoPaintStop, kRowCount
};

const ParamDescriptor kTable[] = {
    kLengthRow,
    choiceRow("Direction ", "direction", &scalarFields).startsAt(1)
        .describedAs("direction function, controls\n brush motion direction"),
    kDirectionTransformRow,
    kAngleMultiplierRow,
    singleRow("Stroke Angle ", "motionangle").spans(-180, 180).inDegrees()
        .describedAs("The angle that the stroke takes\n (plus the direction result)"),
    singleRow("Curl ", "curl").spans(-500, 500).hundredths().inDegrees().randomIn(-100, 100, 85)
        .describedAs("The amount that the stroke\n curls during application"),
    rangeRow("Brush Vector ", "brushvector").spans(-200, 250).startsAt(100).hundredths()
        .randomIn(80, 120, 90)
        .describedAs("For a single brush application, the distance scale\n"
                     " between 'source' and 'destination' pixels"),
    choiceRow("Brush Vector Trans", "brushvector.transform", &responseCurves).startsAt(1)
        .describedAs("direction transform function, makes\n"
                     " interesting changes to the brush vector"),
    singleRow("Brush Angle ", "opangle").spans(-179, 180).inDegrees().randomIn(-10, 10, 50)
        .describedAs("The angle at which the brush is applied"),
    singleRow("Distance Multiplier", "dmult").spans(5, 400).startsAt(100).hundredths()
        .randomIn(90, 125, 95)
        .describedAs("The distance the stroke moves\n between each brush application, relative\n"
                     "to the brush size"),
    kFeedbackRow,
    checkBoxRow("Initial Direction", "line")
        .describedAs("Uses the direction calculated at the beginning\n"
                     " of the stroke for the rest of the stroke"),
    kNoPaintStopRow,
    kEndRow,
};
static_assert(sizeof kTable / sizeof kTable[0] == kRowCount + 1, "a name for every row");

} // namespace

ParamAngleStroke::ParamAngleStroke()
    : StrokeAlgorithm(kTable, {kLength, kFeedback, kNoPaintStop}, "ParamAngleStroke",
                      "Stroke Algorithm 1 (original+)"),
      directionField_(defaultScalarField()), directionCurve_(defaultCurve()),
      brushVectorCurve_(defaultCurve()), motionAngle_(0), brushAngle_(0), curl_(0.0f),
      initialDirection_(false), angleMultiplier_(1.0f), step_(1.0f)
{
}

ParamAngleStroke::~ParamAngleStroke()
{
}

void ParamAngleStroke::prepare(Brush& brush)
{
    StrokeAlgorithm::prepare(brush);
    brushVector_ = realPair(kBrushVector);
    motionAngle_ = truncToInt(param(kMotionAngle).valueReal(0) * kDegToRad);
    curl_ = static_cast<float>(param(kCurl).valueReal(0) * kDegToRad);
    brushAngle_ = truncToInt(param(kBrushAngle).valueReal(0) * kDegToRad);
    initialDirection_ = isChecked(kInitialDirection);
    angleMultiplier_ = realValue(kAngleMultiplier);
    step_ = brush.spacingScale() * realValue(kDistanceMultiplier);
    if (!(step_ >= 1.0f))
        step_ = 1.0f;
    directionCurve_ = choice<ResponseCurve>(kDirectionTransform, defaultCurve());
    directionField_ = choice<ScalarFieldFunction>(kDirection, defaultScalarField());
    brushVectorCurve_ = choice<ResponseCurve>(kBrushVectorTransform, defaultCurve());
    // The identity curve is the usual choice; calling it through the pointer
    // (with its x87 return) costs more than the rest of a step's arithmetic.
    directionCurvePasses_ = directionCurve_ == defaultCurve();
    brushVectorCurvePasses_ = brushVectorCurve_ == defaultCurve();
    // The constant field (the default) gives one angle for the whole stroke,
    // unless its curve draws a new random number at every step.
    constantDirection_ = directionField_ == fieldOne && !curveDrawsRandom(directionCurve_);
}

void ParamAngleStroke::draw(Brush& brush, Vec2 start)
{
    if (!fieldImage)
        return;
    const Image& image = *fieldImage;
    const float x0 = static_cast<float>(roundToInt(start.x));
    const float y0 = static_cast<float>(roundToInt(start.y));
    Vec2 p(x0, y0);
    const int steps = stepCount(length_[0], length_[1]);
    if (steps <= 0)
        return;
    const float dt = 1.0f / static_cast<float>(length_[1]);
    float t = 0.0f;
    double curlSum = 0.0;
    double a = 0.0;
    // One angle for the whole stroke: no call through the pointer per step.
    // Without curl the headings stay too (the curl sum stays +0), so their
    // sines are taken once per stroke.
    const bool sameAngle = initialDirection_ || constantDirection_;
    const bool sameHeadings = sameAngle && curl_ == 0.0f;
    // The constant field without curl, and a brush vector that draws no
    // random numbers, give every stroke of the render this stroke's first
    // steps; asked at the first step only.
    const auto sameFirstSteps = [this] {
        return constantDirection_ && curl_ == 0.0f && !curveDrawsRandom(brushVectorCurve_);
    };
    double brushSin = 0.0;
    double brushCos = 0.0;
    double moveX = 0.0;
    double moveY = 0.0;
    RowPrefetcher& ahead = brush.prefetcher();
    const bool fetched = ahead.takeFetchedStart(x0, y0);
    constexpr int kSteps = RowPrefetcher::kStepsAhead;
    for (int i = 0; i < steps; ++i) {
        if (!(sameAngle && i > 0)) {
            const float v = directionField_(image, p.x, p.y);
            a = (directionCurvePasses_ ? static_cast<double>(v) : directionCurve_(v)) * kTwoPi;
        }
        if (!(sameHeadings && i > 0)) {
            brushHeading_.set((brushAngle_ + a) * angleMultiplier_);
            brushSin = brushHeading_.sin();
            brushCos = brushHeading_.cos();
            motionHeading_.set((motionAngle_ + a + curlSum) * angleMultiplier_);
            moveX = motionHeading_.sin() * step_;
            moveY = motionHeading_.cos() * step_;
        }
        const float b = (1.0f - t) * brushVector_.first + t * brushVector_.second;
        const double c = brushVectorCurvePasses_ ? static_cast<double>(b) : brushVectorCurve_(b);
        const Vec2 source(static_cast<float>(x0 + (p.x - x0) * c),
                          static_cast<float>(y0 + (p.y - y0) * c));
        const Vec2 dabAt(static_cast<float>(p.x + brushSin * step_),
                         static_cast<float>(p.y + brushCos * step_));
        const RowPrefetcher::Path path{x0, y0, moveX, moveY, c};
        if (i == 0 && sameFirstSteps())
            ahead.sameFirstSteps(path);
        // Each step's dab lands about a step ahead, on a new target row: the
        // rows some steps down the heading, the nearer ones too at the first
        // step unless they were fetched while the stroke before painted.
        if (i + kSteps <= steps)
            ahead.pathAhead(path, p.x, p.y, i == 0 && !fetched ? 0 : kSteps, kSteps);
        if (!brush.dab(dabAt, source - dabAt, t) && stopOnNoPaint_)
            return;
        t += dt;
        p.x = static_cast<float>(p.x + moveX);
        p.y = static_cast<float>(p.y + moveY);
        curlSum += curl_;
    }
}

double ParamAngleStroke::coverage(Brush& brush)
{
    return static_cast<double>(length_[1]) * brush.meanSize();
}

int ParamAngleStroke::minimumLength() const
{
    return length_[1];
}

bool ParamAngleStroke::drawsOnlyLength() const
{
    // Without a field image draw takes nothing; fields and brushes draw no
    // random numbers, only random curves do.
    return fieldImage && !curveDrawsRandom(directionCurve_) && !curveDrawsRandom(brushVectorCurve_);
}
