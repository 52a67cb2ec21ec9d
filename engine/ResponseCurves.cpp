#include "engine/ResponseCurves.h"

#include "foundation/Angles.h"
#include "foundation/Numeric.h"

#include <cmath>
#include <cstdlib>
#include <initializer_list>

namespace {

// sin scaled to period 1 and slope 1 at 0; amplitude 1 / (2 pi).
inline double scaledSine(double turns)
{
    return std::sin(turns * kTwoPi) * kInvTwoPi;
}

// Steps of 1/n: y - 0.5 rounded (ties to even) after a trip through float,
// so that n x landing exactly on a half takes the even step.
template <int N>
inline double quantise(double y)
{
    const float shifted = static_cast<float>(y - 0.5);
    return static_cast<float>(roundToInt(shifted) * (1.0f / N));
}

inline double unitRandom()
{
    return std::rand() * 3.051850947599719e-05;
}

// --- powers and sines -----------------------------------------------------------

double pass(const float& x) { return x; }
double sqr(const float& x) { return static_cast<double>(x) * x; }
double invSqr(const float& x) { return 1.0 - static_cast<double>(x) * x; }
double sqrtAbs(const float& x) { return std::sqrt(std::fabs(static_cast<double>(x))); }
double sine(const float& x) { return scaledSine(x); }
double sine15x(const float& x) { return std::sin(x * kTwoPi * 1.5) * kInvTwoPi; }
double sine2x(const float& x) { return std::sin(x * kTwoPi * 2.0) * kInvTwoPi; }
double sine3x(const float& x) { return std::sin(x * kTwoPi * 3.0) * kInvTwoPi; }
double absSine(const float& x) { return std::fabs(scaledSine(x)); }
double absSine2x(const float& x) { return std::fabs(std::sin(x * kTwoPi * 2.0) * kInvTwoPi); }
double sineSqr(const float& x) { return scaledSine(static_cast<double>(x) * x); }
double sineSqr2x(const float& x) { return std::sin(static_cast<double>(x) * x * kTwoPi * 2.0) * kInvTwoPi; }
double sineSqr3x(const float& x) { return std::sin(static_cast<double>(x) * x * kTwoPi * 3.0) * kInvTwoPi; }
double sineSqrtAbs(const float& x)
{
    const double q = std::sqrt(std::fabs(static_cast<double>(x)));
    return scaledSine(q * q);
}
double sqrtAbsSine(const float& x) { return std::sqrt(std::fabs(scaledSine(x))); }
double sineInvSqr(const float& x) { return scaledSine(1.0 - static_cast<double>(x) * x); }
double invSineSqr(const float& x) { return 1.0 - scaledSine(static_cast<double>(x) * x); }
double sineTwoSqr(const float& x) { return scaledSine(2.0 * x * x); }
double invSineTwoSqr(const float& x) { return 1.0 - scaledSine(2.0 * x * x); }

// --- remainders and triangles -----------------------------------------------------

template <int Times, int Numerator, int Denominator>
double modulo(const float& x)
{
    return std::fmod(Times * static_cast<double>(x),
                     static_cast<double>(Numerator) / Denominator);
}

template <int Times>
double triangle(const float& x)
{
    return std::fabs(std::fmod(Times * static_cast<double>(x), 1.0) - 0.5);
}

// --- steps ----------------------------------------------------------------------------

template <int N> double step(const float& x) { return quantise<N>(N * static_cast<double>(x)); }
template <int N> double stepSqr(const float& x) { return quantise<N>(N * (static_cast<double>(x) * x)); }
template <int N> double stepInvSqr(const float& x) { return quantise<N>(N * (1.0 - static_cast<double>(x) * x)); }
template <int N> double stepSine(const float& x) { return quantise<N>(N * scaledSine(x)); }

// --- cubic and cut-off lines ------------------------------------------------------------

double cubeAvgLin(const float& x)
{
    const double v = x;
    return (v * v * v + v) / 2.0;
}

double sineCubeAvgLin(const float& x)
{
    const double v = x;
    return scaledSine((v * v * v + v) / 2.0);
}

double linCut1090(const float& x)
{
    if (x < 0.1)
        return 0.0;
    if (x > 0.9)
        return 1.0;
    return (x - 0.1) * 1.25;
}

double linCut2080(const float& x)
{
    if (x < 0.2)
        return 0.0;
    if (x > 0.8)
        return 1.0;
    return (x - 0.2) * 1.6666666666666667;
}

// --- random: one draw of the runtime generator per call --------------------------------

double randUnit(const float&) { return unitRandom(); }
double randMax(const float& x) { return std::rand() * static_cast<double>(x) * 3.051850947599719e-05; }

// x plus a uniform offset in [-a, +a]; the multipliers are 2a / 32767.
double rand01(const float& x) { return x + std::rand() * 6.103701895199438e-07 - 0.01; }
double rand025(const float& x) { return x + std::rand() * 1.5259254737998596e-06 - 0.025; }
double rand05(const float& x) { return x + std::rand() * 3.0518509475997192e-06 - 0.05; }
double rand10(const float& x) { return x + std::rand() * 6.1037018951994385e-06 - 0.1; }
double rand15(const float& x) { return x + std::rand() * 9.155552842799158e-06 - 0.15; }
double rand20(const float& x) { return x + std::rand() * 1.2207403790398877e-05 - 0.2; }
double rand30(const float& x) { return x + std::rand() * 1.8311105685598315e-05 - 0.3; }

struct CurveRow {
    const char* id;
    ResponseCurve curve;
    const char* displayName;
};

// Ids 11 and 17 share a display name and compute the same values; presets
// may name either.
const CurveRow kCurveRows[] = {
    {"pass", pass, "pass"},
    {"sqr", sqr, "sqr(x)"},
    {"inv_sqr", invSqr, "inv(sqr(x))"},
    {"sqrt_abs", sqrtAbs, "sqrt(abs(x))"},
    {"sin", sine, "sin(x)"},
    {"sin15x", sine15x, "sin(1.5x)"},
    {"sin2x", sine2x, "sin(2x)"},
    {"sin3x", sine3x, "sin(3x)"},
    {"abs_sin", absSine, "abs(sin(x))"},
    {"abs_sin2x", absSine2x, "abs(sin(2x))"},
    {"sin_sqr", sineSqr, "sin(sqr(x))"},
    {"sin_sqr2x", sineSqr2x, "sin(2*sqr(x))"},
    {"sin_sqr3x", sineSqr3x, "sin(3*sqr(x))"},
    {"sin_sqrt_abs", sineSqrtAbs, "sin(sqrt(abs(x)))"},
    {"sqrt_abs_sin", sqrtAbsSine, "sqrt(abs(sin(x)))"},
    {"sin_inv_sqr", sineInvSqr, "sin(inv(sqr(x)))"},
    {"inv_sin_sqr", invSineSqr, "inv(sin(sqr(x)))"},
    {"sin_2_sqr", sineTwoSqr, "sin(2*sqr(x))"},
    {"inv_sin_2_sqr", invSineTwoSqr, "inv(sin(2*sqr(x)))"},
    {"mod2_1", modulo<2, 1, 1>, "mod 2x 1"},
    {"mod1_3_4", modulo<1, 3, 4>, "mod 1x 3/4"},
    {"mod2_3_4", modulo<2, 3, 4>, "mod 2x 3/4"},
    {"mod1_2_3", modulo<1, 2, 3>, "mod 1x 2/3"},
    {"mod2_2_3", modulo<2, 2, 3>, "mod 2x 2/3"},
    {"mod1_1_2", modulo<1, 1, 2>, "mod 1x 1/2"},
    {"mod2_1_2", modulo<2, 1, 2>, "mod 2x 1/2"},
    {"mod1_1_3", modulo<1, 1, 3>, "mod 1x 1/3"},
    {"mod2_1_3", modulo<2, 1, 3>, "mod 2x 1/3"},
    {"triangle", triangle<1>, "triangle"},
    {"triangle2", triangle<2>, "triangle 2"},
    {"triangle3", triangle<3>, "triangle 3"},
    {"step3", step<3>, "step 3"},
    {"step4", step<4>, "step 4"},
    {"step5", step<5>, "step 5"},
    {"step6", step<6>, "step 6"},
    {"step7", step<7>, "step 7"},
    {"step8", step<8>, "step 8"},
    {"step9", step<9>, "step 9"},
    {"step10", step<10>, "step 10"},
    {"step11", step<11>, "step 11"},
    {"step12", step<12>, "step 12"},
    {"step_sqr5", stepSqr<5>, "step sqr 5"},
    {"step_sqr6", stepSqr<6>, "step sqr 6"},
    {"step_sqr7", stepSqr<7>, "step sqr 7"},
    {"step_sqr8", stepSqr<8>, "step sqr 8"},
    {"step_sqr9", stepSqr<9>, "step sqr 9"},
    {"step_inv_sqr7", stepInvSqr<7>, "step inv sqr 7"},
    {"step_inv_sqr8", stepInvSqr<8>, "step inv sqr 8"},
    {"step_inv_sqr9", stepInvSqr<9>, "step inv sqr 9"},
    {"step_sin7", stepSine<7>, "step sin 7"},
    {"step_sin8", stepSine<8>, "step sin 8"},
    {"step_sin9", stepSine<9>, "step sin 9"},
    {"cube_avg_lin", cubeAvgLin, "avg(x,cube(x))"},
    {"sin_cube_avg_lin", sineCubeAvgLin, "sin(avg(x,cube(x)))"},
    {"lin_cut_10_90", linCut1090, "lin cut 10/90"},
    {"lin_cut_20_80", linCut2080, "lin cut 20/80"},
    {"rand_unit", randUnit, "random"},
    {"rand_max", randMax, "random max"},
    {"rand_01", rand01, "random +/- .01"},
    {"rand_025", rand025, "random +/- .025"},
    {"rand_05", rand05, "random +/- .05"},
    {"rand_10", rand10, "random +/- .1"},
    {"rand_15", rand15, "random +/- .15"},
    {"rand_20", rand20, "random +/- .2"},
    {"rand_30", rand30, "random +/- .3"},
};

static_assert(sizeof(kCurveRows) / sizeof(kCurveRows[0]) == kResponseCurveCount,
              "response curve rows");

} // namespace

CurveRegistry::CurveRegistry()
{
    for (const CurveRow& row : kCurveRows)
        add(row.id, row.curve, row.displayName);
}

CurveRegistry::~CurveRegistry() = default;

CurveRegistry responseCurves;

ResponseCurve defaultCurve()
{
    return pass;
}

bool curveDrawsRandom(ResponseCurve curve)
{
    for (ResponseCurve random : {randUnit, randMax, rand01, rand025, rand05, rand10, rand15, rand20, rand30})
        if (curve == random)
            return true;
    return false;
}
