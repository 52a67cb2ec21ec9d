#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "foundation/Angles.h"
#include "foundation/Exception.h"
#include "foundation/Rect.h"
#include "foundation/Vec2.h"

namespace {

void expectRect(const Rect& r, int l, int t, int rr, int b)
{
    EXPECT_EQ(l, r.left);
    EXPECT_EQ(t, r.top);
    EXPECT_EQ(rr, r.right);
    EXPECT_EQ(b, r.bottom);
}

bool sameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

TEST(Exception, CodesCarryTheirFixedMessages)
{
    try {
        throw Exception(kFileOpenException);
    } catch (const Exception& e) {
        EXPECT_EQ(0x5009202u, e.code);
        EXPECT_STREQ("File Open Exception", e.message);
        // The same static text every time: callers keep the pointer.
        EXPECT_EQ(exceptionMessageFor(kFileOpenException), e.message);
    }
    const Exception original(kStreamException);
    const Exception copy(original);
    EXPECT_EQ(0x5009600u, copy.code);
    EXPECT_STREQ("Stream Exception", copy.message);
    EXPECT_STREQ("Value Exception", exceptionMessageFor(0x5009005));
    EXPECT_STREQ("Runtime Exception", exceptionMessageFor(0x5009009));
    EXPECT_STREQ("Parse Exception", exceptionMessageFor(0x500900a));
    EXPECT_STREQ("User Exception", exceptionMessageFor(0x500900e));
    EXPECT_STREQ("Overflow Exception", exceptionMessageFor(0x5009010));
    EXPECT_STREQ("Resource Exception", exceptionMessageFor(0x5009012));
    EXPECT_STREQ("File Create Exception", exceptionMessageFor(0x5009201));
    EXPECT_STREQ("File Read Exception", exceptionMessageFor(0x5009203));
    EXPECT_STREQ("File Write Exception", exceptionMessageFor(0x5009204));
    EXPECT_STREQ("File Position Exception", exceptionMessageFor(0x5009206));
    EXPECT_STREQ("Exception", Exception(1).message);
    EXPECT_STREQ("Parse Exception", Exception(kParseException, nullptr).message);
}

TEST(Angles, MatchTheRuntimeComputation)
{
    volatile double one = 1.0;
    const double pi = 2.0 * std::asin(one);
    EXPECT_EQ(pi, kPi);
    EXPECT_EQ(pi + pi, kTwoPi);
    EXPECT_EQ(pi * 0.5, kHalfPi);
    EXPECT_EQ(1.0 / pi, kInvPi);
    EXPECT_EQ(0.5 / pi, kInvTwoPi);
    EXPECT_EQ(pi * 0.005555555555555556, kDegToRad);
    EXPECT_EQ(180.0 / pi, kRadToDeg);
    EXPECT_EQ(kPi, kDegToRad * 180.0);
    EXPECT_LE(std::fabs(kRadToDeg * kDegToRad - 1.0), 2.3e-16);
    EXPECT_EQ(3.1415927f, kPiF);
    EXPECT_EQ(6.2831855f, kTwoPiF);
    EXPECT_EQ(0.15915494f, kInvTwoPiF);
}

TEST(Vec2, Arithmetic)
{
    const Vec2 a(1.0f, 2.0f);
    const Vec2 b(4.0f, -6.0f);
    const Vec2 r = (a + b) * 0.5f - a / 2.0f;
    EXPECT_EQ(2.0f, r.x);
    EXPECT_EQ(-3.0f, r.y);
    const Vec2 inf = a / 0.0f;
    EXPECT_TRUE(std::isinf(inf.x));
    EXPECT_EQ(0.0f, Vec2().x);
}

TEST(Vec2, LerpEndsMidpointAndExtrapolation)
{
    const Vec2 a(0.1f, -3.3f);
    const Vec2 b(7.7f, 2.9f);
    Vec2 r = Vec2::lerp(0.0f, a, b);
    EXPECT_EQ(a.x, r.x);
    EXPECT_EQ(a.y, r.y);
    r = Vec2::lerp(1.0f, a, b);
    EXPECT_EQ(b.x, r.x);
    EXPECT_EQ(b.y, r.y);
    r = Vec2::lerp(0.5f, a, b);
    EXPECT_FLOAT_EQ((a.x + b.x) / 2, r.x);
    r = Vec2::lerp(2.0f, a, b);
    EXPECT_FLOAT_EQ(2 * b.x - a.x, r.x);
    EXPECT_FLOAT_EQ(2 * b.y - a.y, r.y);
    // Single-precision steps in the stated order.
    const float t = 0.3f;
    volatile float oneMinusT = 1.0f - t;
    const float x = a.x * oneMinusT + b.x * t;
    EXPECT_TRUE(sameBits(x, Vec2::lerp(t, a, b).x));
}

TEST(Rect, NormalizeAndPoints)
{
    Rect r(10, 20, 0, 5);
    r.normalize();
    expectRect(r, 0, 5, 10, 20);
    const Point d = Point(5, 7) - Point(2, 10);
    EXPECT_EQ(3, d.x);
    EXPECT_EQ(-3, d.y);
    expectRect(Rect(Point(1, 2), Point(3, 4)), 1, 2, 3, 4);
}

TEST(Rect, OverlapIsInclusive)
{
    const Rect a(0, 0, 10, 10);
    EXPECT_TRUE(a.overlaps(Rect(10, 10, 20, 20)));
    EXPECT_FALSE(a.overlaps(Rect(11, 0, 20, 10)));
    EXPECT_FALSE(a.overlaps(Rect(0, 11, 10, 20)));
    EXPECT_FALSE(Rect(0, 11, 10, 20).overlaps(a));
    EXPECT_TRUE(a.overlaps(Rect(-5, -5, 0, 0)));
}

TEST(Rect, Intersection)
{
    Rect a(0, 0, 10, 10);
    expectRect(a.intersected(Rect(5, 5, 20, 20)), 5, 5, 10, 10);
    expectRect(a.intersected(Rect(20, 20, 30, 30)), 0, 0, 0, 0);
    expectRect(a.intersected(Rect(20, 20, 5, 5)), 5, 5, 10, 10);
    expectRect(Rect(10, 10, 0, 0).intersected(Rect(5, 5, 20, 20)), 5, 5, 10, 10);
    expectRect(a, 0, 0, 10, 10);
    a.intersect(Rect(2, 3, 4, 5));
    expectRect(a, 2, 3, 4, 5);
    // Image bounds use exclusive ends: touching bounds still intersect, empty.
    expectRect(Rect(0, 0, 10, 10).intersected(Rect(10, 0, 20, 10)), 10, 0, 10, 10);
}

TEST(Rect, FitAspect)
{
    expectRect(Rect(0, 0, 200, 100).fitAspect(Rect(0, 0, 50, 50), false), 0, 0, 100, 100);
    expectRect(Rect(0, 0, 200, 100).fitAspect(Rect(0, 0, 50, 50), true), 50, 0, 150, 100);
    expectRect(Rect(0, 0, 100, 200).fitAspect(Rect(0, 0, 40, 20), false), 0, 0, 100, 50);
    expectRect(Rect(0, 0, 100, 200).fitAspect(Rect(0, 0, 40, 20), true), 0, 75, 100, 125);
    expectRect(Rect(0, 0, 100, 200).fitAspect(Rect(), true), 0, 0, 0, 0);
    expectRect(Rect().fitAspect(Rect(0, 0, 4, 3), true), 0, 0, 0, 0);
    expectRect(Rect(10, 20, 110, 70).fitAspect(Rect(0, 0, 1, 1), true), 35, 20, 85, 70);
    // Degenerate shapes stay defined.
    const Rect flat = Rect(0, 0, 100, 100).fitAspect(Rect(0, 0, 10, 0), false);
    expectRect(flat, 0, 0, 0, 100);
    const Rect huge = Rect(-2000000000, -2000000000, 2000000000, 2000000000)
                          .fitAspect(Rect(0, 0, 3, 1), false);
    EXPECT_LE(huge.left, huge.right);
}
