#include "image/BlendKernels.h"
#include "image/KernelArithmetic.h"

// All kernel arithmetic is signed 32-bit. Right shifts of negative values are
// arithmetic (floor division), which the stored presets' look depends on.

namespace {

// ---- start-up tables, computed at compile time ----------------------------

// Newton's iteration converges to within an ulp of the true root; every table
// entry lies at least 3e-5 away from a whole number, so the truncation gives
// the same bytes as the library square root would.
constexpr double constexprSqrt(double x)
{
    if (x <= 0.0)
        return 0.0;
    double y = x < 1.0 ? 1.0 : x;
    for (int i = 0; i < 100; ++i) {
        const double next = 0.5 * (y + x / y);
        if (next == y)
            break;
        y = next;
    }
    return y;
}

constexpr std::array<unsigned char, 256> makeSqrtTable()
{
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[i] = static_cast<unsigned char>(static_cast<int>(constexprSqrt(i * (1 / 255.999)) * 255.999));
    return t;
}

constexpr std::array<unsigned char, 256> makeSCurveTable()
{
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i) {
        const double x = i * (2 / 255.0) - 1.0;
        t[i] = static_cast<unsigned char>(static_cast<int>(((x * x + 1.0) * x * 0.5 + 1.0) * 127.95));
    }
    return t;
}

} // namespace

extern constexpr std::array<unsigned char, 256> sqrtTable = makeSqrtTable();
extern constexpr std::array<unsigned char, 256> sCurveTable = makeSCurveTable();

namespace {

static_assert(sqrtTable[1] == 15 && sqrtTable[128] == 181 && sqrtTable[255] == 255, "sqrt table");
static_assert(sCurveTable[0] == 0 && sCurveTable[127] == 127 && sCurveTable[255] == 255, "S-curve table");

// ---- notation ---------------------------------------------------------------

using namespace kernel;

inline int inv(int x) { return 255 - x; }
inline int half(int t, int d) { return (t + d) >> 1; }
inline int fold(int x) { return (x & 256) ? 255 - (x & 255) : (x & 255); }
inline int absI(int x) { return x < 0 ? -x : x; }
inline int sq(int i) { return sqrtTable[i & 255]; }
inline int sc(int i) { return sCurveTable[i & 255]; }

// ---- base formulas ----------------------------------------------------------

int multiplyOf(int s, int w, int d, int a)
{
    const int S = m(s, w), D = m(d, a);
    return top(m(inv(w), D) + m(inv(a), S) + m(S, D));
}

int screenOf(int s, int w, int d, int a)
{
    const int S = m(s, w), D = m(d, a);
    return clampByte(D - m(S, D) + S);
}

int overlayOf(int s, int w, int d, int a)
{
    const int S = m(s, w), D = m(d, a);
    int v;
    if (2 * D >= a)
        v = m(inv(a), S) - 2 * m(w - S, a - D) + m(inv(w), D) + m(w, a);
    else
        v = m(inv(w), D) + m(inv(a), S) + 2 * m(S, D);
    return clampByte(v);
}

int hardLightOf(int s, int w, int d, int a)
{
    const int S = m(s, w), D = m(d, a);
    int v;
    if (2 * S >= w)
        v = m(inv(w), D) - 2 * m(a - D, w - S) + m(inv(a), S) + m(w, a);
    else
        v = 2 * m(D, S) + m(inv(a), S) + m(inv(w), D);
    return clampByte(v);
}

int darkenOf(int s, int w, int d, int a)
{
    const int S = m(s, w), D = m(d, a);
    return top(minI(m(a, S), m(w, D)) + m(inv(a), S) + m(inv(w), D));
}

int lightenOf(int s, int w, int d, int a)
{
    const int S = m(s, w), D = m(d, a);
    return top(maxI(m(a, S), m(w, D)) + m(inv(a), S) + m(inv(w), D));
}

int darkenModOf(int s, int w, int d, int a)
{
    const int S = m(s, w), D = m(d, a);
    return top(minI(m(s, a), m(w, d)) + m(inv(w), D) + m(inv(a), S));
}

int dodgeOf(int s, int w, int d, int a)
{
    const int S = m(s, w), D = m(d, a);
    if (m(w, D) + m(a, S) < m(w, a)) {
        int q = (inv(S) * 256) / maxI(w, 1);
        if (q == 0)
            q = 1;
        return top(m(D, inv(w)) + m(S, inv(a)) + (256 * m(w, D)) / q);
    }
    return top(m(a, w) + m(D, inv(w)) + m(S, inv(a)));
}

// Not clamped: callers take the low 8 bits, so large values wrap.
int burnOf(int s, int w, int d, int a)
{
    const int S = m(s, w), D = m(d, a);
    const int E = m(inv(w), D) + m(inv(a), S);
    const int A = m(a, S) + m(w, D);
    const int B = m(a, w);
    if (A <= B)
        return E;
    return E + (256 * m(A - B, w)) / (S == 0 ? 1 : S);
}

int softLightOf(int s, int w, int d, int a)
{
    const int S = m(s, w), D = m(d, a);
    const int k = 2 * S - w;
    const int q = (256 * D) / maxI(a, 1);
    int v;
    if (2 * S >= w) {
        if (8 * D >= a)
            v = m(m(sq(q & 255), a), k) + m(inv(w), D) + m(inv(a), S) + m(D, w);
        else
            v = m(w - m(m(767 - 8 * q, k), 255 - (q & 255)), D) + m(inv(w), D) + m(inv(a), S);
    } else {
        v = m(w - m(255 - (q & 255), k), D) + m(inv(w), D) + m(inv(a), S);
    }
    return clampByte(v);
}

int exclusionOf(int s, int w, int d, int a)
{
    const int S = m(s, w), D = m(d, a);
    return clampByte(m(inv(w), D) + m(inv(a), S) - 2 * m(S, D) + m(a, S) + m(w, D));
}

int differenceOf(int s, int w, int d, int a)
{
    const int S = m(s, w), D = m(d, a);
    return clampByte(m(inv(w), D) + m(inv(a), S) - 2 * minI(m(a, S), m(w, D)) + D + S);
}

} // namespace

#define BLEND_KERNEL(name) \
    unsigned char name(unsigned char s8, unsigned char w8, unsigned char d8, unsigned char a8)
#define BLEND_ARGS \
    const int s = s8, w = w8, d = d8, a = a8; \
    (void)s; (void)w; (void)d; (void)a

// ---- basic kernels ------------------------------------------------------------

BLEND_KERNEL(blendScl) { BLEND_ARGS; return toByte(lerpTo(s, d, w)); }
BLEND_KERNEL(blendMultiplyScl) { BLEND_ARGS; return toByte(lerpTo(multiplyOf(s, w, d, a), d, w)); }

// Twice the usual step toward the lightened value.
BLEND_KERNEL(blendLightenScl)
{
    BLEND_ARGS;
    return toByte(clampByte(d + ((2 * w * (lightenOf(s, w, d, a) - d) + 127) >> 8)));
}

BLEND_KERNEL(blendScreenHalf) { BLEND_ARGS; return toByte(half(screenOf(s, w, d, a), d)); }

BLEND_KERNEL(blendSrcOver)
{
    BLEND_ARGS;
    return toByte(top(m(inv(w), m(d, a)) + m(s, w)));
}

BLEND_KERNEL(blendMaxDot)
{
    BLEND_ARGS;
    return toByte(top(maxI(m(s, m(a, (5 * w) >> 2)), d)));
}

BLEND_KERNEL(blendMaxIn)
{
    BLEND_ARGS;
    const int lo = minI(s, d), hi = maxI(s, d);
    return toByte(lo + ((m(w, a) * (hi - lo) + 127) >> 8));
}

BLEND_KERNEL(blendMaxScl)
{
    BLEND_ARGS;
    return toByte(d + ((m(w, a) * (maxI(s, d) - d) + 127) >> 8));
}

BLEND_KERNEL(blendMinIn)
{
    BLEND_ARGS;
    const int t = m(a, maxI(s, d));
    return toByte(t + (((minI(s, d) - t) * w + 127) >> 8));
}

BLEND_KERNEL(blendOverlayHalf) { BLEND_ARGS; return toByte(half(overlayOf(s, w, d, a), d)); }
BLEND_KERNEL(blendOverlayScl) { BLEND_ARGS; return toByte(lerpTo(overlayOf(s, w, d, a), d, w)); }
BLEND_KERNEL(blendDarken) { BLEND_ARGS; return toByte(darkenOf(s, w, d, a)); }
BLEND_KERNEL(blendLighten) { BLEND_ARGS; return toByte(lightenOf(s, w, d, a)); }
BLEND_KERNEL(blendColorDodgeHalf) { BLEND_ARGS; return toByte(half(dodgeOf(s, w, d, a), d)); }
BLEND_KERNEL(blendColorDodgeScl) { BLEND_ARGS; return toByte(lerpTo(dodgeOf(s, w, d, a), d, w)); }
BLEND_KERNEL(blendColorBurnHalf) { BLEND_ARGS; return toByte(((burnOf(s, w, d, a) & 255) + d) >> 1); }
BLEND_KERNEL(blendColorBurnScl) { BLEND_ARGS; return toByte(lerpTo(burnOf(s, w, d, a) & 255, d, w)); }

BLEND_KERNEL(blendDifferenceQuarterScl)
{
    BLEND_ARGS;
    return toByte(lerpTo((3 * d + differenceOf(s, w, d, a)) >> 2, d, w));
}

BLEND_KERNEL(blendMaxDestA) { BLEND_ARGS; return toByte(lerpTo(maxI(s, m(inv(a), d)), d, w)); }
BLEND_KERNEL(blendHardLightHalf) { BLEND_ARGS; return toByte(half(hardLightOf(s, w, d, a), d)); }
BLEND_KERNEL(blendHardLightScl) { BLEND_ARGS; return toByte(lerpTo(hardLightOf(s, w, d, a), d, w)); }
BLEND_KERNEL(blendSoftLightHalf) { BLEND_ARGS; return toByte(half(softLightOf(s, w, d, a), d)); }
BLEND_KERNEL(blendSoftLightScl) { BLEND_ARGS; return toByte(lerpTo(softLightOf(s, w, d, a), d, w)); }
BLEND_KERNEL(blendDarkenMod) { BLEND_ARGS; return toByte(darkenModOf(s, w, d, a)); }

BLEND_KERNEL(blendLightenModScl)
{
    BLEND_ARGS;
    const int S = m(s, w), D = m(d, a);
    const int t = clampByte(m(D, inv(w)) + maxI(m(s, a), m(w, d)) + m(S, inv(a)) - 32);
    return toByte(lerpTo(t, d, w));
}

BLEND_KERNEL(blendAvg) { BLEND_ARGS; return toByte((s + d) >> 1); }
BLEND_KERNEL(blendAvgScl) { BLEND_ARGS; return toByte(lerpTo((s + d) >> 1, d, w)); }
BLEND_KERNEL(blendMinSv) { BLEND_ARGS; return toByte(minI(s + (d >> 1), d)); }

// ---- raw parts of composed kernels --------------------------------------------

BLEND_KERNEL(blendOverlayRaw) { BLEND_ARGS; return toByte(overlayOf(s, w, d, a)); }
BLEND_KERNEL(blendDodgeRaw) { BLEND_ARGS; return toByte(dodgeOf(s, w, d, a)); }
BLEND_KERNEL(blendScreenRaw) { BLEND_ARGS; return toByte(screenOf(s, w, d, a)); }
BLEND_KERNEL(blendMaxRaw) { BLEND_ARGS; return toByte(maxI(s, d)); }
BLEND_KERNEL(blendColorBurnRaw) { BLEND_ARGS; return toByte(burnOf(s, w, d, a) & 255); }
BLEND_KERNEL(blendMultiplyRaw) { BLEND_ARGS; return toByte(multiplyOf(s, w, d, a)); }
BLEND_KERNEL(blendExclusionScl) { BLEND_ARGS; return toByte(lerpTo(exclusionOf(s, w, d, a), d, w)); }

// ---- experimental kernels -------------------------------------------------------

BLEND_KERNEL(blendExp4)
{
    BLEND_ARGS;
    const int t = s >= d ? clampByte(lerpTo(m(s, w) + m(d, a), d, w)) : (s + d) >> 1;
    return toByte(lerpTo(t, d, w));
}

BLEND_KERNEL(blendExp5)
{
    BLEND_ARGS;
    const int p = m(d, s);
    const int e = p >= 205 ? 511 - ((5 * p) >> 2) : (5 * p) >> 2;
    const int h = (d + maxI(s, d)) >> 1;
    return toByte((h + ((((e & 255) - h) * w + 127) >> 8) + d) >> 1);
}

BLEND_KERNEL(blendExp6)
{
    BLEND_ARGS;
    const int h = (3 * d + maxI(s, d)) >> 2;
    return toByte(fold(h + (((((9 * minI(s, d)) >> 3) - h) * w + 127) >> 8)));
}

BLEND_KERNEL(blendExp7) { BLEND_ARGS; return toByte(fold(lerpTo(s >= d ? (9 * d) >> 3 : s, d, w))); }
BLEND_KERNEL(blendExp7a) { BLEND_ARGS; return toByte(fold(lerpTo(s >= d ? (17 * s) >> 4 : s, d, w))); }

BLEND_KERNEL(blendExp8)
{
    BLEND_ARGS;
    if ((s >> 1) <= d && d <= 2 * s)
        return toByte(lerpTo((s + d) >> 1, d, w));
    return toByte(d);
}

BLEND_KERNEL(blendExp9) { BLEND_ARGS; return toByte(lerpTo(d >= 80 ? (s + d) >> 1 : minI(s, d), d, w)); }

BLEND_KERNEL(blendExp10)
{
    BLEND_ARGS;
    const int x = s - d;
    return toByte(clampByte(d + ((w * ((2 * x * (x + 64) + 127) >> 8) + 127) >> 8)));
}

BLEND_KERNEL(blendExp11) { BLEND_ARGS; return toByte(lerpTo(clampByte(2 * s - d), d, w)); }

BLEND_KERNEL(blendExp12)
{
    BLEND_ARGS;
    const int v = s >= 40 ? absI(2 * s - d) : s;
    return toByte(clampByte(lerpTo(v, d, w)));
}

BLEND_KERNEL(blendExp13)
{
    BLEND_ARGS;
    const int S = m(s, w), D = m(d, a);
    return toByte(clampByte(lerpTo(m(2 * s - d, d) + ((m(inv(w), D) + m(inv(a), S)) >> 1), d, w)));
}

BLEND_KERNEL(blendExp14) { BLEND_ARGS; return toByte(clampByte(lerpTo(minI(s, 2 * s - d), d, w))); }

BLEND_KERNEL(blendExp16)
{
    BLEND_ARGS;
    return toByte(d >= s ? clampByte(lerpTo(2 * s - d, d, w)) : d);
}

BLEND_KERNEL(blendExp17)
{
    BLEND_ARGS;
    return toByte(clampByte(lerpTo(d >= s ? 2 * s - d : 2 * d - s, d, w)));
}

BLEND_KERNEL(blendExp18)
{
    BLEND_ARGS;
    const int S = m(s, w);
    return toByte(fold((((m(d, d) + m(d, S) - m(a, d)) * w + 127) >> 8) + m(a, d)));
}

BLEND_KERNEL(blendExp19)
{
    BLEND_ARGS;
    return toByte(clampByte(lerpTo((m(inv(w), d) >> 1) + m(m(s, d), sq(s)), d, w)));
}

BLEND_KERNEL(blendExp20)
{
    BLEND_ARGS;
    return toByte(clampByte(lerpTo((m(inv(w), d) >> 1) + m(sq(s), sq(d)), d, w)));
}

BLEND_KERNEL(blendExp21)
{
    BLEND_ARGS;
    const int S = m(s, w), D = m(d, a);
    return toByte(lerpTo(fold(m(inv(w), D) + m(S, inv(a)) + m(sq(s), d)), d, w));
}

BLEND_KERNEL(blendExp22)
{
    BLEND_ARGS;
    const int c = clampByte(2 * d - s);
    return toByte(clampByte(lerpTo((m(inv(w), d) >> 1) + m(m(c, c), sq(s)), d, w)));
}

BLEND_KERNEL(blendExp23)
{
    BLEND_ARGS;
    const int S = m(s, w), D = m(d, a);
    return toByte(clampByte(lerpTo(m(m(inv(w), D) + m(inv(a), S) + 2 * s - d, s), d, w)));
}

BLEND_KERNEL(blendExp24)
{
    BLEND_ARGS;
    const int S = m(s, w), D = m(d, a);
    const int t = top(((m(inv(w), D) + m(inv(a), S)) >> 1) + m(sc(d), sc(d)) + m(sc(S), sc(S)));
    return toByte(lerpTo(t, d, w));
}

BLEND_KERNEL(blendExp25)
{
    BLEND_ARGS;
    const int h = s >> 1;
    return toByte(lerpTo(sc(top(m(d, d) + m(h, h) + (d >> 2))), d, w));
}

// The sum has its lowest bit cleared.
BLEND_KERNEL(blendExp26) { BLEND_ARGS; return toByte(clampByte(lerpTo(((s + d) & ~1) - sc(s), d, w))); }

BLEND_KERNEL(blendExp27)
{
    BLEND_ARGS;
    const int v = d >= 128 ? 2 * (255 - sc(255 - d)) - ((m(s, s) + d) >> 1)
                           : m(sq(s), d) + (d >> 2);
    return toByte(clampByte(lerpTo(v, d, w)));
}

BLEND_KERNEL(blendExp28)
{
    BLEND_ARGS;
    const int b = d < 111 ? 1 : 0;
    const int z = lerpTo(b, d, w);
    if (z == 0)
        return toByte(clampByte(maxI((11 * d) >> 3, 255 - sc(255 - s))));
    return toByte(minI(s, d));
}

// The source channel does not enter.
BLEND_KERNEL(blendExp29)
{
    BLEND_ARGS;
    const int D = m(d, a);
    return toByte(clampByte(lerpTo(minI(D + m(w, d), m(d, 255 - sc(255 - d)) + m(d, d)), d, w)));
}
