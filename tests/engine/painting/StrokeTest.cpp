#include <cmath>
#include <cstdlib>

#include <gtest/gtest.h>

#include "engine/ResponseCurves.h"
#include "engine/fields/DirectionFields.h"
#include "foundation/Angles.h"
#include "engine/fields/ScalarFields.h"
#include "engine/strokes/AnglePairStroke.h"
#include "engine/strokes/ParamAngle2dStroke.h"
#include "engine/strokes/ParamAngleStroke.h"
#include "engine/strokes/Vector2Stroke.h"
#include "PaintTestSupport.h"

using namespace painttest;

namespace {

void setRange(Component& c, const char* id, int first, int second)
{
    c.findParameter(id).setValue(first, 0);
    c.findParameter(id).setValue(second, 1);
}

void setOne(Component& c, const char* id, int value)
{
    c.findParameter(id).setValue(value, 0);
}

// An 8x8 grey picture for the fields to read; the steering below uses the
// constant field "one" unless a test says otherwise.
struct StrokeFixture : ::testing::Test {
    StrokeFixture() : picture(8, 8), canvas(canvasOver(picture.image))
    {
        picture.fill(rgb(128, 128, 128));
    }

    void bind(StrokeAlgorithm& stroke)
    {
        stroke.setCanvas(&canvas);
        brush.setCanvas(&canvas);
    }

    GuardedImage picture;
    Canvas canvas;
    RecordingBrush brush;
};

void expectNear(const Vec2& v, float x, float y, float tolerance = 1e-4f)
{
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
}

} // namespace

// --- ParamAngle2dStroke: dabs one step late, heading (cos, sin) ---

struct ParamAngle2dStrokeTest : StrokeFixture {
    ParamAngle2dStrokeTest()
    {
        bind(stroke);
        setOne(stroke, "direction", 0);     // "one"
        setOne(stroke, "dir.transform", 0); // "pass"
        setRange(stroke, "length", 8, 8);
    }
    ParamAngle2dStroke stroke;
};

TEST_F(ParamAngle2dStrokeTest, StraightStrokeAlongXWithLateDabs)
{
    stroke.prepare(brush);
    ASSERT_EQ(1u, brush.preparedSteps.size());
    EXPECT_EQ(8, brush.preparedSteps[0]);
    stroke.draw(brush, Vec2(2.0f, 3.0f));
    ASSERT_EQ(8u, brush.dabs.size());
    for (int k = 0; k < 8; ++k) {
        // The k-th dab lies where k moves have taken the stroke and gets the
        // fraction (k + 1) / 8.
        expectNear(brush.dabs[k].position, 2.0f + k, 3.0f);
        expectNear(brush.dabs[k].direction, 1.0f, 0.0f);
        EXPECT_FLOAT_EQ((k + 1) / 8.0f, brush.dabs[k].t);
    }
}

TEST_F(ParamAngle2dStrokeTest, AngleCurlAndInitialDirection)
{
    setOne(stroke, "angle", 90);
    stroke.prepare(brush);
    stroke.draw(brush, Vec2(0.0f, 0.0f));
    ASSERT_EQ(8u, brush.dabs.size());
    expectNear(brush.dabs[3].position, 0.0f, 3.0f);

    // One degree more at every step: the third move is 2 degrees off +x.
    brush.dabs.clear();
    setOne(stroke, "angle", 0);
    setRange(stroke, "curl", 100, 100);
    stroke.prepare(brush);
    stroke.draw(brush, Vec2(0.0f, 0.0f));
    const Vec2 third = brush.dabs[3].position - brush.dabs[2].position;
    EXPECT_NEAR(std::atan2(third.y, third.x), 2.0 * kDegToRad, 1e-5);
}

TEST_F(ParamAngle2dStrokeTest, StepDistanceFloorAndDistanceFunction)
{
    setOne(stroke, "dmult", 5); // 0.05 times the brush is raised to one pixel
    brush.spacing = 1.0f;
    stroke.prepare(brush);
    stroke.draw(brush, Vec2(0.0f, 0.0f));
    expectNear(brush.dabs[1].position, 1.0f, 0.0f);

    // mix -1 with the field "one" (w = 1): 1 + m (2w - 1) = 0 stops the
    // motion while the dabs still come.
    brush.dabs.clear();
    setOne(stroke, "distfunc", 0);
    setRange(stroke, "distfuncmix", -100, -100);
    stroke.prepare(brush);
    stroke.draw(brush, Vec2(4.0f, 4.0f));
    ASSERT_EQ(8u, brush.dabs.size());
    expectNear(brush.dabs[7].position, 4.0f, 4.0f);
    expectNear(brush.dabs[7].direction, 1.0f, 0.0f);
}

TEST_F(ParamAngle2dStrokeTest, NoPaintStopEndsAtFirstRefusedDab)
{
    brush.answers = {true, true, false};
    stroke.prepare(brush);
    stroke.draw(brush, Vec2(0.0f, 0.0f));
    EXPECT_EQ(8u, brush.dabs.size()); // a refusal alone does not stop

    brush.dabs.clear();
    setOne(stroke, "nopaintstop", 1);
    stroke.prepare(brush);
    stroke.draw(brush, Vec2(0.0f, 0.0f));
    EXPECT_EQ(3u, brush.dabs.size());
}

TEST_F(ParamAngle2dStrokeTest, RandomStepCountAndCoverage)
{
    setRange(stroke, "length", 40, 8);
    stroke.prepare(brush);
    EXPECT_EQ(40, brush.preparedSteps.back());
    std::srand(7);
    const int r = std::rand();
    std::srand(7);
    stroke.draw(brush, Vec2(0.0f, 0.0f));
    EXPECT_EQ(static_cast<size_t>(8 + r * 32 / 32767), brush.dabs.size());

    // Coverage and minimum length use the first value as stored.
    EXPECT_NEAR(0.5 * 40 * std::sqrt(40.0), stroke.coverage(brush), 1e-9);
    EXPECT_EQ(40, stroke.minimumLength());
    setRange(stroke, "length", 4, 12);
    EXPECT_DOUBLE_EQ(4.0, stroke.coverage(brush));
    setRange(stroke, "length", 12, 4);
    EXPECT_NEAR(20.7846, stroke.coverage(brush), 1e-4);
    EXPECT_EQ(12, stroke.minimumLength());
}

TEST_F(ParamAngle2dStrokeTest, StepCountIsClampedAndFarPositionsStayFinite)
{
    // Values that bypass the parameter's own range.
    stroke.findParameter("length").values[0] = -5;
    stroke.findParameter("length").values[1] = 100000;
    stroke.prepare(brush);
    EXPECT_EQ(160, brush.preparedSteps.back());

    // Growth 1.15 over 160 steps throws the stroke far off the image; the
    // fields and the dabs still get finite numbers.
    setRange(stroke, "length", 160, 160);
    setOne(stroke, "dmultx", 1150);
    setOne(stroke, "dmult", 400);
    setOne(stroke, "direction", 1); // hue, sampled far outside
    stroke.prepare(brush);
    brush.dabs.clear();
    stroke.draw(brush, Vec2(1.0e9f, -1.0e9f));
    ASSERT_EQ(160u, brush.dabs.size());
    EXPECT_TRUE(std::isfinite(brush.dabs.back().position.x));
}

TEST_F(ParamAngle2dStrokeTest, DrawBeforePrepareDoesNothing)
{
    stroke.draw(brush, Vec2(0.0f, 0.0f));
    EXPECT_TRUE(brush.dabs.empty());
}

// --- AnglePairStroke: dab at the current position, step times sizeAt ---

struct AnglePairStrokeTest : StrokeFixture {
    AnglePairStrokeTest()
    {
        bind(stroke);
        setOne(stroke, "direction1", 0);
        setOne(stroke, "direction2", 0);
        setRange(stroke, "length", 8, 8);
    }
    AnglePairStroke stroke;
};

TEST_F(AnglePairStrokeTest, DefaultsHeadAlongTheFieldAngle)
{
    stroke.prepare(brush);
    stroke.draw(brush, Vec2(1.0f, 2.0f));
    ASSERT_EQ(8u, brush.dabs.size());
    expectNear(brush.dabs[0].position, 1.0f, 2.0f);
    EXPECT_EQ(0.0f, brush.dabs[0].t);
    EXPECT_FLOAT_EQ(7.0f / 8.0f, brush.dabs[7].t);
    expectNear(brush.dabs[7].position, 8.0f, 2.0f);
    ASSERT_EQ(8u, brush.sizeQueries.size());
}

TEST_F(AnglePairStrokeTest, SecondAngleActsTwice)
{
    // a1 = a2 = 1 turn; stroke angle 2 of 90 degrees: a2 = 1 + pi/2 (a
    // fraction plus radians), theta = 2 pi a2 and phi = theta + pi/2.
    setOne(stroke, "angle2", 90);
    stroke.prepare(brush);
    stroke.draw(brush, Vec2(0.0f, 0.0f));
    const double phi = kTwoPi * (1.0 + kHalfPi) + kHalfPi;
    expectNear(brush.dabs[1].position, float(std::cos(phi)), float(std::sin(phi)));

    // Mix 0 drops direction 2 from theta; amult2 2 still doubles phi.
    brush.dabs.clear();
    setOne(stroke, "angle2", 0);
    setRange(stroke, "amix", 0, 0);
    setRange(stroke, "amult1", 25, 25); // a1 = 0.25 turn
    setRange(stroke, "amult2", 200, 200);
    stroke.prepare(brush);
    stroke.draw(brush, Vec2(0.0f, 0.0f));
    expectNear(brush.dabs[1].position, -1.0f, 0.0f); // phi = 2 * pi/2
}

TEST_F(AnglePairStrokeTest, ZeroSizeHoldsPositionAndNoPaintStops)
{
    brush.sizeFactor = 0.0f;
    stroke.prepare(brush);
    stroke.draw(brush, Vec2(3.0f, 3.0f));
    ASSERT_EQ(8u, brush.dabs.size());
    expectNear(brush.dabs[7].position, 3.0f, 3.0f);
    expectNear(brush.dabs[7].direction, 0.0f, 0.0f);

    brush.dabs.clear();
    brush.defaultAnswer = false;
    setOne(stroke, "nopaintstop", 1);
    stroke.prepare(brush);
    stroke.draw(brush, Vec2(3.0f, 3.0f));
    EXPECT_EQ(1u, brush.dabs.size());
}

// --- ParamAngleStroke: heading (sin, cos), dab one step ahead ---

struct ParamAngleStrokeTest : StrokeFixture {
    ParamAngleStrokeTest()
    {
        bind(stroke);
        setOne(stroke, "direction", 0);
        setOne(stroke, "dir.transform", 0);
        setOne(stroke, "brushvector.transform", 0);
        setRange(stroke, "length", 8, 8);
    }
    ParamAngleStroke stroke;
};

TEST_F(ParamAngleStrokeTest, DabsAheadOfTheRoundedStartHeadingDown)
{
    stroke.prepare(brush);
    stroke.draw(brush, Vec2(2.4f, 2.6f));
    ASSERT_EQ(8u, brush.dabs.size());
    // Start rounded to (2, 3); heading 2 pi moves down the image.
    expectNear(brush.dabs[0].position, 2.0f, 4.0f);
    // Brush vector 1: the direction points back to the current position.
    expectNear(brush.dabs[0].direction, 0.0f, -1.0f);
    expectNear(brush.dabs[7].position, 2.0f, 11.0f);
    EXPECT_FLOAT_EQ(7.0f / 8.0f, brush.dabs[7].t);
    EXPECT_EQ(8, stroke.minimumLength());
    EXPECT_DOUBLE_EQ(8.0, stroke.coverage(brush));
}

TEST_F(ParamAngleStrokeTest, AnglesAreWholeRadiansAndSourceFollowsBrushVector)
{
    setOne(stroke, "motionangle", 45); // 0.785 truncates to 0
    stroke.prepare(brush);
    stroke.draw(brush, Vec2(0.0f, 0.0f));
    expectNear(brush.dabs[1].position, 0.0f, 2.0f);

    brush.dabs.clear();
    setOne(stroke, "motionangle", 60); // one radian
    setRange(stroke, "brushvector", 0, 0);
    stroke.prepare(brush);
    stroke.draw(brush, Vec2(0.0f, 0.0f));
    const Vec2 moved = brush.dabs[1].position - brush.dabs[0].position;
    expectNear(moved, float(std::sin(1.0 + kTwoPi)), float(std::cos(1.0 + kTwoPi)));
    // Brush vector 0 puts the source at the stroke start for every dab.
    const Dab& d = brush.dabs[5];
    expectNear(d.position + d.direction, 0.0f, 0.0f);
}

TEST_F(ParamAngleStrokeTest, TinyDistanceAndStop)
{
    setOne(stroke, "dmult", 5);
    brush.spacing = 2.0f; // 0.1 pixels, raised to 1
    brush.answers = {false};
    setOne(stroke, "nopaintstop", 1);
    stroke.prepare(brush);
    stroke.draw(brush, Vec2(0.0f, 0.0f));
    ASSERT_EQ(1u, brush.dabs.size());
    expectNear(brush.dabs[0].position, 0.0f, 1.0f);
}

TEST_F(ParamAngleStrokeTest, RandomDirectionCurveTurnsAtEveryStep)
{
    // The constant field may be read once only while its curve is plain:
    // "random" draws a new angle per step, and the shared generator must
    // advance once for the length and once per step.
    setOne(stroke, "dir.transform",
           static_cast<int>(responseCurves.indexOf("rand_unit")));
    stroke.prepare(brush);
    std::srand(1);
    stroke.draw(brush, Vec2(0.0f, 0.0f));
    const int next = std::rand();

    std::srand(1);
    std::rand(); // the step count
    ASSERT_EQ(8u, brush.dabs.size());
    Vec2 p(0.0f, 0.0f);
    for (const Dab& dab : brush.dabs) {
        const double a = std::rand() * 3.051850947599719e-05 * kTwoPi;
        p = Vec2(static_cast<float>(p.x + std::sin(a)), static_cast<float>(p.y + std::cos(a)));
        expectNear(dab.position, p.x, p.y, 1e-3f);
    }
    EXPECT_EQ(std::rand(), next);
}

// --- Vector2Stroke: follows direction fields ---

struct Vector2StrokeTest : StrokeFixture {
    Vector2StrokeTest()
    {
        bind(stroke);
        picture.fill(rgb(255, 128, 0));
        setOne(stroke, "direction", 34);  // red x / green y
        setOne(stroke, "direction2", 34);
        setRange(stroke, "length", 6, 6);
    }
    Vector2Stroke stroke;
};

TEST_F(Vector2StrokeTest, FollowsDirectionFieldOne)
{
    stroke.prepare(brush);
    const Vec2 d1 = directionFields.entryAt(34).function(picture.image, Vec2(1.0f, 1.0f));
    ASSERT_GT(d1.x, 0.9f);
    stroke.draw(brush, Vec2(1.0f, 1.0f));
    ASSERT_EQ(6u, brush.dabs.size());
    for (int k = 0; k < 6; ++k) {
        expectNear(brush.dabs[k].position, 1.0f + k * d1.x, 1.0f + k * d1.y);
        expectNear(brush.dabs[k].direction, d1.x, d1.y);
        EXPECT_FLOAT_EQ(k / 6.0f, brush.dabs[k].t);
    }
}

TEST_F(Vector2StrokeTest, InertiaKeepsTheFirstBrushDirection)
{
    setRange(stroke, "curl", 200, 200); // two degrees more per step
    setRange(stroke, "inertia", 100, 100);
    stroke.prepare(brush);
    stroke.draw(brush, Vec2(1.0f, 1.0f));
    ASSERT_EQ(6u, brush.dabs.size());
    expectNear(brush.dabs[5].direction, brush.dabs[0].direction.x, brush.dabs[0].direction.y);
    // The path still turns.
    const Vec2 last = brush.dabs[5].position - brush.dabs[4].position;
    EXPECT_NEAR(std::atan2(last.y, last.x) - std::atan2(brush.dabs[0].direction.y,
                                                        brush.dabs[0].direction.x),
                8.0 * kDegToRad, 1e-4);
}

TEST_F(Vector2StrokeTest, LengthAsStoredAndStop)
{
    setRange(stroke, "length", 20, 5);
    stroke.prepare(brush);
    EXPECT_EQ(20, brush.preparedSteps.back());
    EXPECT_EQ(20, stroke.minimumLength());
    EXPECT_NEAR(0.5 * std::pow(20.0, 1.5), stroke.coverage(brush), 1e-9);

    brush.answers = {false};
    setOne(stroke, "nopaintstop", 1);
    stroke.prepare(brush);
    stroke.draw(brush, Vec2(2.0f, 2.0f));
    ASSERT_EQ(1u, brush.dabs.size());
    expectNear(brush.dabs[0].position, 2.0f, 2.0f);
}
