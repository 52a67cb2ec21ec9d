#include "engine/ResponseCurves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

double curve(const char* id, float x)
{
    EXPECT_TRUE(responseCurves.contains(id)) << id;
    return responseCurves.entryAt(responseCurves.indexOf(id)).function(x);
}

const double kQuarterTurnSine = 0.15915494309189535;

} // namespace

TEST(ResponseCurveRegistry, RowsKeepTheirIdsAndOrder)
{
    ASSERT_EQ(responseCurves.count(), 65);
    for (int i = 0; i < responseCurves.count(); ++i)
        EXPECT_EQ(responseCurves.indexOf(responseCurves.entryAt(i).id), i) << i;
    EXPECT_EQ(responseCurves.entryAt(1).displayName, "sqr(x)");
    EXPECT_EQ(responseCurves.entryAt(11).displayName, "sin(2*sqr(x))");
    EXPECT_EQ(responseCurves.entryAt(17).displayName, "sin(2*sqr(x))");
    EXPECT_EQ(responseCurves.entryAt(64).id, "rand_30");
    // An unknown transform id falls back to "pass".
    EXPECT_EQ(responseCurves.indexOf("no_such_curve"), 0);
    EXPECT_EQ(defaultCurve(), responseCurves.entryAt(0).function);
    // The count itself is past the end and gives the zero curve.
    EXPECT_EQ(responseCurves.entryAt(65).function(0.7f), 0.0);
}

TEST(ResponseCurves, ValuesOfTheFormulas)
{
    EXPECT_EQ(curve("pass", 0.3f), 0.3f);
    EXPECT_EQ(curve("sqr", 0.5f), 0.25);
    EXPECT_EQ(curve("inv_sqr", 0.5f), 0.75);
    EXPECT_EQ(curve("sqrt_abs", -0.25f), 0.5);
    EXPECT_NEAR(curve("sin", 0.25f), kQuarterTurnSine, 1e-15);
    EXPECT_NEAR(curve("abs_sin", 0.75f), kQuarterTurnSine, 1e-15);
    EXPECT_NEAR(curve("sin", 0.5f), 0.0, 1e-15);
    EXPECT_NEAR(curve("sin2x", 0.125f), kQuarterTurnSine, 1e-15);
    EXPECT_NEAR(curve("sin_sqrt_abs", 0.25f), curve("sin", 0.25f), 1e-15);
    EXPECT_NEAR(curve("sin_sqr2x", 0.6f), curve("sin_2_sqr", 0.6f), 1e-15);
    EXPECT_NEAR(curve("mod1_3_4", 0.8f), 0.05, 1e-7);
    EXPECT_EQ(curve("mod2_1", 0.75f), 0.5);
    EXPECT_LT(curve("mod1_1_2", -0.25f), 0.0);
    EXPECT_EQ(curve("triangle", 0.0f), 0.5);
    EXPECT_EQ(curve("triangle", 0.5f), 0.0);
    EXPECT_EQ(curve("triangle2", 0.25f), 0.0);
    EXPECT_EQ(curve("lin_cut_10_90", 0.05f), 0.0);
    EXPECT_NEAR(curve("lin_cut_10_90", 0.5f), 0.5, 1e-7);
    EXPECT_EQ(curve("lin_cut_10_90", 0.95f), 1.0);
    EXPECT_NEAR(curve("lin_cut_20_80", 0.5f), 0.5, 1e-7);
    EXPECT_EQ(curve("cube_avg_lin", 1.0f), 1.0);
}

TEST(ResponseCurves, QuantisedStepsTakeTheEvenTie)
{
    EXPECT_EQ(curve("step3", 0.2f), 0.0);
    EXPECT_EQ(curve("step3", 0.5f), 0.3333333432674408);
    EXPECT_EQ(curve("step3", 0.9f), 0.6666666865348816);
    EXPECT_EQ(curve("step3", 1.0f), 0.6666666865348816);  // 2.5 goes to 2
    EXPECT_EQ(curve("step4", 1.0f), 1.0);                 // 3.5 goes to 4
    EXPECT_EQ(curve("step4", 0.25f), 0.0);                // 0.5 goes to 0
    EXPECT_EQ(curve("step4", 0.5f), 0.5);
    EXPECT_EQ(curve("step4", 0.75f), 0.5);                // 2.5 goes to 2
    EXPECT_EQ(curve("step10", 0.55f), 0.5f);
    EXPECT_EQ(curve("step_sqr5", 1.0f), 0.8f);            // 4.5 goes to 4
    EXPECT_EQ(curve("step_inv_sqr8", 0.0f), 1.0);
    for (float x = 0; x <= 1.0f; x += 1.0f / 64) {
        const double v = curve("step_sin8", x);
        EXPECT_TRUE(v == -0.25 || v == -0.125 || v == 0.0 || v == 0.125) << x << " " << v;
    }
}

TEST(ResponseCurves, FiniteOverTheUnitInterval)
{
    for (int row = 0; row < responseCurves.count(); ++row) {
        for (int i = 0; i <= 256; ++i) {
            const float x = i / 256.0f;
            const double v = responseCurves.entryAt(row).function(x);
            ASSERT_TRUE(std::isfinite(v)) << responseCurves.entryAt(row).id << " at " << x;
        }
    }
}

TEST(ResponseCurves, RandomCurvesDrawOneNumberPerCall)
{
    for (int row = 56; row <= 64; ++row) {
        const ResponseCurve f = responseCurves.entryAt(row).function;
        std::srand(1234);
        const int first = std::rand();
        const int second = std::rand();
        std::srand(1234);
        const double v = f(0.5f);
        EXPECT_EQ(std::rand(), second) << responseCurves.entryAt(row).id;
        if (row == 56) {
            EXPECT_EQ(v, first * 3.051850947599719e-05);
        }
    }
    std::srand(99);
    for (int i = 0; i < 200; ++i) {
        const double r = curve("rand_unit", 5.0f);
        EXPECT_TRUE(r >= 0.0 && r <= 1.0);
        const double m = curve("rand_max", 0.25f);
        EXPECT_TRUE(m >= 0.0 && m <= 0.25);
        const double d = curve("rand_10", 0.5f);
        EXPECT_TRUE(d >= 0.4 - 1e-12 && d <= 0.6 + 1e-12);
    }
}
