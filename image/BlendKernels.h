#pragma once

#include <array>

// A blend kernel lays one colour channel of a source over a destination:
// (source channel s, source weight w, destination channel d, destination
// alpha a) -> new destination channel. Only the low 8 bits of a result count,
// which the byte return type gives for free.
typedef unsigned char (*BlendKernel)(unsigned char s, unsigned char w,
                                     unsigned char d, unsigned char a);

// trunc(sqrt(i / 255.999) * 255.999) and an S-curve over 0..255. Both are
// constant-initialised (computed at compile time), so they are in place
// before any static constructor of any module can reach a kernel.
extern const std::array<unsigned char, 256> sqrtTable;
extern const std::array<unsigned char, 256> sCurveTable;

// The kernels are reached through the blend-mode table; they are declared
// here so that the table and the composed families can name them.

// Basic kernels.
unsigned char blendScl(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendMultiplyScl(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendLightenScl(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendScreenHalf(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendSrcOver(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendMaxDot(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendMaxIn(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendMaxScl(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendMinIn(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendOverlayHalf(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendOverlayScl(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendDarken(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendLighten(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendColorDodgeHalf(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendColorDodgeScl(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendColorBurnHalf(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendColorBurnScl(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendDifferenceQuarterScl(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendMaxDestA(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendHardLightHalf(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendHardLightScl(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendSoftLightHalf(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendSoftLightScl(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendDarkenMod(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendLightenModScl(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendAvg(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendAvgScl(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendMinSv(unsigned char s, unsigned char w, unsigned char d, unsigned char a);

// Raw parts used only inside composed kernels.
unsigned char blendOverlayRaw(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendDodgeRaw(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendScreenRaw(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendMaxRaw(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendColorBurnRaw(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendMultiplyRaw(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExclusionScl(unsigned char s, unsigned char w, unsigned char d, unsigned char a);

// The experimental kernels (there is no 15, and there is a 7a).
unsigned char blendExp4(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp5(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp6(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp7(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp7a(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp8(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp9(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp10(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp11(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp12(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp13(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp14(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp16(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp17(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp18(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp19(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp20(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp21(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp22(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp23(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp24(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp25(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp26(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp27(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp28(unsigned char s, unsigned char w, unsigned char d, unsigned char a);
unsigned char blendExp29(unsigned char s, unsigned char w, unsigned char d, unsigned char a);

// Composed families over named kernels X and Y.

// X below 128, Y from 128; the test is on the source channel only.
template <BlendKernel X, BlendKernel Y>
unsigned char blendSplit(unsigned char s, unsigned char w, unsigned char d, unsigned char a)
{
    return s <= 127 ? X(s, w, d, a) : Y(s, w, d, a);
}

// The weight moves the result from X's toward Y's.
template <BlendKernel X, BlendKernel Y>
unsigned char blendMix(unsigned char s, unsigned char w, unsigned char d, unsigned char a)
{
    const int x = X(s, w, d, a);
    const int y = Y(s, w, d, a);
    return static_cast<unsigned char>(x + (((y - x) * w + 127) >> 8));
}

// Channels closer than 16 are averaged.
template <BlendKernel X>
unsigned char blendNearAverage(unsigned char s, unsigned char w, unsigned char d, unsigned char a)
{
    const int diff = s - d;
    if (diff > -16 && diff < 16)
        return static_cast<unsigned char>((s + d) >> 1);
    return X(s, w, d, a);
}

// Channels closer than 10 are pushed apart (destination away from source).
template <BlendKernel X>
unsigned char blendPushApart(unsigned char s, unsigned char w, unsigned char d, unsigned char a)
{
    const int diff = s - d;
    if (diff > -10 && diff < 10) {
        const int v = 2 * d - s;
        return static_cast<unsigned char>(v < 0 ? 0 : (v > 255 ? 255 : v));
    }
    return X(s, w, d, a);
}

// Dark pairs (product below 32) take the "minsv" result.
template <BlendKernel X>
unsigned char blendDarkGuard(unsigned char s, unsigned char w, unsigned char d, unsigned char a)
{
    if (((s * d + 255) >> 8) >= 32)
        return X(s, w, d, a);
    const int v = s + (d >> 1);
    return static_cast<unsigned char>(v < d ? v : d);
}
