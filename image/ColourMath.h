#pragma once

#include <cstdint>

#include "foundation/String.h"
#include "image/Pixel.h"

class PropertyReader;

// Colour conversions and mixing on packed pixels. Hue is in turns (1.0 is
// a full turn, red at 0); saturation and value are in [0, 1].

// A channel byte c as a float: c * 0.0039064027 (about 1/255.99).
const float kColourByteScale = 0.0039064027f;

float channelToFloat(uint8_t c);
// Nearest integer (ties to even) to x * 255.99 - 0.5 in single precision,
// clamped to 0..255; NaN gives 0.
uint8_t floatToChannel(float x);

void rgbToHsv(float r, float g, float b, float& h, float& s, float& v, float defaultHue);
// Any hue wraps into one turn.
void hsvToRgb(float& r, float& g, float& b, float h, float s, float v);

float pixelHue(const Pixel& p);
float pixelSaturation(const Pixel& p);
float pixelValue(const Pixel& p);
uint8_t pixelMaxChannel(const Pixel& p);
void pixelToHsv(const Pixel& p, float& h, float& s, float& v);

// Nearest integer (ties to even) to v, clamped to 0..255; NaN gives 0. The
// same bytes as clamping roundToInt(v), without the int-range checks: the
// mixing below runs a few times per dab, so it is inline.
inline uint8_t roundFloatToByte(float v)
{
    // Both ends as selects, not jumps: mixes often land on 0 or 255.
    v = v > 0.5f ? v : 0.0f; // NaN too
    v = v < 255.5f ? v : 255.0f;
    const int i = static_cast<int>(v);
    const float frac = v - static_cast<float>(i); // exact below 256
    // Up past one half, and on one half to even; again without branches, as
    // the fractions of mixed colours are as good as random.
    return static_cast<uint8_t>(i + (int(frac > 0.5f) | (int(frac == 0.5f) & i & 1)));
}

// Mixing: R, G, B move from a toward b; alpha is a's unless said.
inline Pixel lerpPixelRgb3(const Pixel& a, const Pixel& b, float tR, float tG, float tB)
{
    Pixel out = a;
    out.r = roundFloatToByte(float(a.r) + float(int(b.r) - int(a.r)) * tR);
    out.g = roundFloatToByte(float(a.g) + float(int(b.g) - int(a.g)) * tG);
    out.b = roundFloatToByte(float(a.b) + float(int(b.b) - int(a.b)) * tB);
    return out;
}
inline Pixel lerpPixelRgb(const Pixel& a, const Pixel& b, float t)
{
    // c + d * 0 is c exactly (also for t = -0), so weight 0 is a's colour.
    if (t == 0.0f)
        return a;
    return lerpPixelRgb3(a, b, t, t, t);
}
// Alpha mixed as well.
inline Pixel lerpPixelRgba(const Pixel& a, const Pixel& b, float t)
{
    Pixel out = lerpPixelRgb3(a, b, t, t, t);
    out.a = roundFloatToByte(float(a.a) + float(int(b.a) - int(a.a)) * t);
    return out;
}

// A pixel's hue, saturation and value as pixelToHsv gives them.
struct PixelHsv {
    float h, s, v;
};
PixelHsv pixelHsv(const Pixel& p);

// Mixed in HSV; the hue moves the short way round.
Pixel blendPixelHsv(const Pixel& a, const Pixel& b, float tH, float tS, float tV);
// The same from a's and b's converted values (a brush mixing two pixels
// both ways converts each once).
Pixel blendPixelHsv(const Pixel& a, PixelHsv ha, PixelHsv hb, float tH, float tS, float tV);
// The HSV values blendPixelHsv gives its pixel.
PixelHsv mixHsv(PixelHsv ha, PixelHsv hb, float tH, float tS, float tV);
// blendPixelHsv(a, b, ta...) and blendPixelHsv(b, a, tb...) at once, in SSE
// lanes: each pixel converted once, the same bytes as one at a time.
void blendPixelHsvBothWays(const Pixel& a, const Pixel& b, const float ta[3], const float tb[3],
                           Pixel& outA, Pixel& outB);

// In-place changes of R, G, B; alpha kept unless said.
inline void scalePixelRgb(Pixel& p, float f)
{
    // c * 1 is c exactly: the neutral brightness changes nothing.
    if (f == 1.0f)
        return;
    p.r = roundFloatToByte(float(p.r) * f);
    p.g = roundFloatToByte(float(p.g) * f);
    p.b = roundFloatToByte(float(p.b) * f);
}
void setPixelHue(Pixel& p, float h);
void setPixelSaturation(Pixel& p, float s);
void setPixelValue(Pixel& p, float v);
void shiftPixelHue(Pixel& p, float dh);
void setPixelHsv(Pixel& p, float h, float s, float v);
void setPixelHsva(Pixel& p, float h, float s, float v, uint8_t alpha);

// Keys prefix + ".red", ".green", ".blue", ".alpha" ("red" and so on for an
// empty prefix), defaults 0, 0, 0, 255; each value's low byte is used.
Pixel pixelFromReader(const String& prefix, const PropertyReader& reader);
// Opaque white, then parsePixelText.
Pixel pixelFromText(const String& text);
// "#rrggbbaa" with every missing digit read as "f"; any other text is a
// number ("0x" hexadecimal, else decimal) taken as the 32-bit word
// 0xAARRGGBB.
void parsePixelText(Pixel& p, const String& text);
