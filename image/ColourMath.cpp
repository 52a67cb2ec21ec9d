#include "image/ColourMath.h"

#include <cmath>

#include "foundation/NumberText.h"
#include "foundation/Numeric.h"
#include "foundation/PropertyReader.h"

namespace {

uint8_t maxOf(const Pixel& p)
{
    uint8_t m = p.r > p.g ? p.r : p.g;
    return m > p.b ? m : p.b;
}

uint8_t minOf(const Pixel& p)
{
    uint8_t m = p.r < p.g ? p.r : p.g;
    return m < p.b ? m : p.b;
}

float byteSaturation(const Pixel& p)
{
    uint8_t mx = maxOf(p);
    if (mx == 0)
        return 0.0f;
    return float(mx - minOf(p)) / float(mx);
}

void storeRgb(Pixel& p, float r, float g, float b)
{
    p.r = floatToChannel(r);
    p.g = floatToChannel(g);
    p.b = floatToChannel(b);
}

void setFromHsv(Pixel& p, float h, float s, float v)
{
    float r, g, b;
    hsvToRgb(r, g, b, h, s, v);
    storeRgb(p, r, g, b);
}

// Leading white space, an optional sign, then digits of the base up to the
// first other character; saturates at 0xFFFFFFFF, a minus sign negates
// modulo 2^32. The C runtime is not used: it follows the process locale.
uint32_t parseUnsigned(const char* s, const char* end, int base)
{
    while (s < end && isCSpace(*s))
        ++s;
    bool negative = false;
    if (s < end && (*s == '+' || *s == '-')) {
        negative = *s == '-';
        ++s;
    }
    uint64_t value = 0;
    bool saturated = false;
    for (; s < end; ++s) {
        const int d = hexDigitValue(*s);
        if (d < 0 || d >= base)
            break;
        value = value * uint64_t(base) + uint64_t(d);
        if (value > 0xFFFFFFFFull) {
            saturated = true;
            value = 0xFFFFFFFFull;
        }
    }
    if (saturated)
        return 0xFFFFFFFFu;
    uint32_t v = static_cast<uint32_t>(value);
    return negative ? 0u - v : v;
}

} // namespace

float channelToFloat(uint8_t c)
{
    return float(c) * kColourByteScale;
}

uint8_t floatToChannel(float x)
{
    return roundFloatToByte(x * 255.99f - 0.5f);
}

void rgbToHsv(float r, float g, float b, float& h, float& s, float& v, float defaultHue)
{
    float mx = r > g ? r : g;
    if (b > mx)
        mx = b;
    float mn = r < g ? r : g;
    if (b < mn)
        mn = b;
    v = mx;
    if (mx == 0.0f) {
        s = 0.0f;
        h = defaultHue;
        return;
    }
    float delta = mx - mn;
    s = delta / mx;
    if (delta == 0.0f) {
        h = defaultHue;
        return;
    }
    float hue;
    if (r == mx)
        hue = (g - b) / delta;
    else if (g == mx)
        hue = (b - r) / delta + 2.0f;
    else
        hue = (r - g) / delta + 4.0f;
    hue = static_cast<float>(double(hue) * (1.0 / 6.0));
    if (hue < 0.0f)
        hue += 1.0f;
    else if (hue > 1.0f)
        hue -= 1.0f;
    h = hue;
}

void hsvToRgb(float& r, float& g, float& b, float h, float s, float v)
{
    if (s == 0.0f) {
        r = g = b = v;
        return;
    }
    const double shifted = double(h) + 10000.0000001;
    // The remainder by 1 is the fraction, exact either way; the library
    // fmod is a slow loop, so the usual range takes the fraction directly.
    double turn = shifted >= 0.0 && shifted < 2147483648.0
                      ? shifted - double(static_cast<int>(shifted))
                      : std::fmod(shifted, 1.0);
    // Hues below -10000 turns would leave a negative remainder, and a NaN
    // or infinite hue none at all: both still land in one turn.
    if (turn != turn)
        turn = 0.0;
    else if (turn < 0.0)
        turn += 1.0;
    float x = static_cast<float>(turn * 6.0);
    // roundToInt(x - 0.5) for x in 0..6, in single precision without
    // branches: the whole part of x, except that a whole x makes a tie that
    // goes to the even neighbour.
    int i = static_cast<int>(x);
    i -= int(x == static_cast<float>(i)) & i & 1;
    // A remainder just below 1 can round up to x = 6 in single precision:
    // that is the start of sector 0 again.
    if (i >= 6) {
        i = 0;
        x -= 6.0f;
    }
    float f = x - float(i);
    float p = (1.0f - s) * v;
    float q = (1.0f - f * s) * v;
    float t = (1.0f - (1.0f - f) * s) * v;
    // Which of v, q, p, t each channel takes per sector; looked up rather
    // than switched on, since the sector of a hue is unpredictable.
    static const uint8_t pick[6][3] = {{0, 3, 2}, {1, 0, 2}, {2, 0, 3},
                                       {2, 1, 0}, {3, 2, 0}, {0, 2, 1}};
    const float values[4] = {v, q, p, t};
    r = values[pick[i][0]];
    g = values[pick[i][1]];
    b = values[pick[i][2]];
}

float pixelHue(const Pixel& p)
{
    float h, s, v;
    rgbToHsv(channelToFloat(p.r), channelToFloat(p.g), channelToFloat(p.b), h, s, v, 0.0f);
    return h;
}

float pixelSaturation(const Pixel& p)
{
    return byteSaturation(p);
}

float pixelValue(const Pixel& p)
{
    return float(maxOf(p)) * kColourByteScale;
}

uint8_t pixelMaxChannel(const Pixel& p)
{
    return maxOf(p);
}

void pixelToHsv(const Pixel& p, float& h, float& s, float& v)
{
    rgbToHsv(channelToFloat(p.r), channelToFloat(p.g), channelToFloat(p.b), h, s, v, 0.0f);
}

PixelHsv pixelHsv(const Pixel& p)
{
    PixelHsv out;
    pixelToHsv(p, out.h, out.s, out.v);
    return out;
}

Pixel blendPixelHsv(const Pixel& a, const Pixel& b, float tH, float tS, float tV)
{
    return blendPixelHsv(a, pixelHsv(a), pixelHsv(b), tH, tS, tV);
}

Pixel blendPixelHsv(const Pixel& a, PixelHsv ha, PixelHsv hb, float tH, float tS, float tV)
{
    if (ha.h - hb.h > 0.5f)
        ha.h -= 1.0f;
    else if (hb.h - ha.h > 0.5f)
        hb.h -= 1.0f;
    float h = ha.h + (hb.h - ha.h) * tH;
    if (h < 0.0f)
        h += 1.0f;
    else if (h > 1.0f)
        h -= 1.0f;
    float s = ha.s + (hb.s - ha.s) * tS;
    float v = ha.v + (hb.v - ha.v) * tV;
    Pixel out = a;
    setFromHsv(out, h, s, v);
    return out;
}

void setPixelHue(Pixel& p, float h)
{
    setFromHsv(p, h, byteSaturation(p), float(maxOf(p)) * kColourByteScale);
}

void setPixelSaturation(Pixel& p, float s)
{
    float h, s0, v0;
    pixelToHsv(p, h, s0, v0);
    setFromHsv(p, h, s, float(maxOf(p)) * kColourByteScale);
}

void setPixelValue(Pixel& p, float v)
{
    float h, s0, v0;
    pixelToHsv(p, h, s0, v0);
    setFromHsv(p, h, byteSaturation(p), v);
}

void shiftPixelHue(Pixel& p, float dh)
{
    float h, s, v;
    pixelToHsv(p, h, s, v);
    setFromHsv(p, h + dh, s, v);
}

void setPixelHsv(Pixel& p, float h, float s, float v)
{
    setFromHsv(p, h, s, v);
}

void setPixelHsva(Pixel& p, float h, float s, float v, uint8_t alpha)
{
    setFromHsv(p, h, s, v);
    p.a = alpha;
}

Pixel pixelFromReader(const String& prefix, const PropertyReader& reader)
{
    String base = prefix.empty() ? String() : prefix + ".";
    Pixel p;
    p.r = static_cast<uint8_t>(reader.getInt(base + "red", 0));
    p.g = static_cast<uint8_t>(reader.getInt(base + "green", 0));
    p.b = static_cast<uint8_t>(reader.getInt(base + "blue", 0));
    p.a = static_cast<uint8_t>(reader.getInt(base + "alpha", 255));
    return p;
}

Pixel pixelFromText(const String& text)
{
    Pixel p(255, 255, 255, 255);
    parsePixelText(p, text);
    return p;
}

void parsePixelText(Pixel& p, const String& text)
{
    const char* s = text.c_str();
    const char* end = s + text.size();
    if (text.empty() || s[0] != '#') {
        // The whole word, read unsigned: "0xff00ff00" is opaque green, not
        // a saturated signed value.
        if (text.size() >= 2 && s[0] == '0' && s[1] == 'x')
            p = Pixel::fromWord(parseUnsigned(s + 2, end, 16));
        else
            p = Pixel::fromWord(parseUnsigned(s, end, 10));
        return;
    }
    String padded(text);
    if (padded.size() < 9)
        padded += "fffffffff";
    uint8_t channel[4];
    for (int i = 0; i < 4; ++i) {
        size_t pos = size_t(1 + 2 * i);
        const char* piece = padded.c_str() + pos;
        const char* pieceEnd = piece + (padded.size() - pos < 2 ? padded.size() - pos : 2);
        channel[i] = static_cast<uint8_t>(parseUnsigned(piece, pieceEnd, 16));
    }
    p.r = channel[0];
    p.g = channel[1];
    p.b = channel[2];
    p.a = channel[3];
}
