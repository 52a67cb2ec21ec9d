#include "image/ColourMath.h"

#include <emmintrin.h>

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

// Which of v, q, p, t each channel takes per hue sector; looked up rather
// than switched on, since the sector of a hue is unpredictable.
const uint8_t kSectorPick[6][3] = {{0, 3, 2}, {1, 0, 2}, {2, 0, 3},
                                   {2, 1, 0}, {3, 2, 0}, {0, 2, 1}};

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
    const float values[4] = {v, q, p, t};
    r = values[kSectorPick[i][0]];
    g = values[kSectorPick[i][1]];
    b = values[kSectorPick[i][2]];
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

PixelHsv mixHsv(PixelHsv ha, PixelHsv hb, float tH, float tS, float tV)
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
    return PixelHsv{h, ha.s + (hb.s - ha.s) * tS, ha.v + (hb.v - ha.v) * tV};
}

Pixel blendPixelHsv(const Pixel& a, PixelHsv ha, PixelHsv hb, float tH, float tS, float tV)
{
    const PixelHsv m = mixHsv(ha, hb, tH, tS, tV);
    Pixel out = a;
    setFromHsv(out, m.h, m.s, m.v);
    return out;
}

namespace {

// The pair versions below hold a in lane 0 and b in lane 1 and take every
// step of the single versions in the same order and precision (no fused
// operations), so each lane gives the single version's floats.

inline __m128 selectLanes(__m128 mask, __m128 yes, __m128 no)
{
    return _mm_or_ps(_mm_and_ps(mask, yes), _mm_andnot_ps(mask, no));
}

// rgbToHsv with default hue 0.
void rgbToHsvLanes(__m128 r, __m128 g, __m128 b, __m128& h, __m128& s, __m128& v)
{
    const __m128 zero = _mm_setzero_ps();
    // max(x, y) is x > y ? x : y, min(x, y) is x < y ? x : y, as written there.
    const __m128 mx = _mm_max_ps(b, _mm_max_ps(r, g));
    const __m128 mn = _mm_min_ps(b, _mm_min_ps(r, g));
    const __m128 delta = _mm_sub_ps(mx, mn);
    const __m128 grey = _mm_or_ps(_mm_cmpeq_ps(mx, zero), _mm_cmpeq_ps(delta, zero));
    v = mx;
    s = _mm_andnot_ps(_mm_cmpeq_ps(mx, zero), _mm_div_ps(delta, mx));
    const __m128 fromR = _mm_div_ps(_mm_sub_ps(g, b), delta);
    const __m128 fromG = _mm_add_ps(_mm_div_ps(_mm_sub_ps(b, r), delta), _mm_set1_ps(2.0f));
    const __m128 fromB = _mm_add_ps(_mm_div_ps(_mm_sub_ps(r, g), delta), _mm_set1_ps(4.0f));
    __m128 hue = selectLanes(_mm_cmpeq_ps(r, mx), fromR,
                             selectLanes(_mm_cmpeq_ps(g, mx), fromG, fromB));
    hue = _mm_cvtpd_ps(_mm_mul_pd(_mm_cvtps_pd(hue), _mm_set1_pd(1.0 / 6.0)));
    const __m128 one = _mm_set1_ps(1.0f);
    hue = selectLanes(_mm_cmplt_ps(hue, zero), _mm_add_ps(hue, one),
                      selectLanes(_mm_cmpgt_ps(hue, one), _mm_sub_ps(hue, one), hue));
    h = _mm_andnot_ps(grey, hue);
}

// hsvToRgb of two colours; false (nothing written) for a hue outside the
// usual range, which the single version handles.
bool hsvToRgbPair(const PixelHsv& a, const PixelHsv& b, float rgb[2][3])
{
    const __m128d shifted =
        _mm_add_pd(_mm_cvtps_pd(_mm_setr_ps(a.h, b.h, 0.0f, 0.0f)), _mm_set1_pd(10000.0000001));
    const __m128d inRange = _mm_and_pd(_mm_cmpge_pd(shifted, _mm_setzero_pd()),
                                       _mm_cmplt_pd(shifted, _mm_set1_pd(2147483648.0)));
    if (_mm_movemask_pd(inRange) != 3)
        return false;
    const __m128d turn = _mm_sub_pd(shifted, _mm_cvtepi32_pd(_mm_cvttpd_epi32(shifted)));
    __m128 x = _mm_cvtpd_ps(_mm_mul_pd(turn, _mm_set1_pd(6.0)));
    __m128i i = _mm_cvttps_epi32(x);
    const __m128i whole = _mm_castps_si128(_mm_cmpeq_ps(x, _mm_cvtepi32_ps(i)));
    i = _mm_sub_epi32(i, _mm_and_si128(_mm_and_si128(whole, i), _mm_set1_epi32(1)));
    const __m128i wrap = _mm_cmpgt_epi32(i, _mm_set1_epi32(5));
    i = _mm_andnot_si128(wrap, i);
    x = _mm_sub_ps(x, _mm_and_ps(_mm_castsi128_ps(wrap), _mm_set1_ps(6.0f)));
    const __m128 s = _mm_setr_ps(a.s, b.s, 0.0f, 0.0f);
    const __m128 v = _mm_setr_ps(a.v, b.v, 0.0f, 0.0f);
    const __m128 one = _mm_set1_ps(1.0f);
    const __m128 f = _mm_sub_ps(x, _mm_cvtepi32_ps(i));
    const __m128 p = _mm_mul_ps(_mm_sub_ps(one, s), v);
    const __m128 q = _mm_mul_ps(_mm_sub_ps(one, _mm_mul_ps(f, s)), v);
    const __m128 t = _mm_mul_ps(_mm_sub_ps(one, _mm_mul_ps(_mm_sub_ps(one, f), s)), v);
    float lanes[4][4];
    int sector[4];
    _mm_storeu_ps(lanes[0], v);
    _mm_storeu_ps(lanes[1], q);
    _mm_storeu_ps(lanes[2], p);
    _mm_storeu_ps(lanes[3], t);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(sector), i);
    const float sat[2] = {a.s, b.s};
    for (int n = 0; n < 2; ++n)
        for (int c = 0; c < 3; ++c)
            rgb[n][c] = sat[n] == 0.0f ? lanes[0][n] : lanes[kSectorPick[sector[n]][c]][n];
    return true;
}

} // namespace

void pixelHsvPair(const Pixel& a, const Pixel& b, PixelHsv& ha, PixelHsv& hb)
{
    const __m128 scale = _mm_set1_ps(kColourByteScale);
    const __m128 r = _mm_mul_ps(_mm_setr_ps(a.r, b.r, 0.0f, 0.0f), scale);
    const __m128 g = _mm_mul_ps(_mm_setr_ps(a.g, b.g, 0.0f, 0.0f), scale);
    const __m128 bl = _mm_mul_ps(_mm_setr_ps(a.b, b.b, 0.0f, 0.0f), scale);
    __m128 h, s, v;
    rgbToHsvLanes(r, g, bl, h, s, v);
    float out[3][4];
    _mm_storeu_ps(out[0], h);
    _mm_storeu_ps(out[1], s);
    _mm_storeu_ps(out[2], v);
    ha = PixelHsv{out[0][0], out[1][0], out[2][0]};
    hb = PixelHsv{out[0][1], out[1][1], out[2][1]};
}

void setFromHsvPair(Pixel& a, const PixelHsv& ha, Pixel& b, const PixelHsv& hb)
{
    float rgb[2][3];
    if (!hsvToRgbPair(ha, hb, rgb)) {
        setFromHsv(a, ha.h, ha.s, ha.v);
        setFromHsv(b, hb.h, hb.s, hb.v);
        return;
    }
    storeRgb(a, rgb[0][0], rgb[0][1], rgb[0][2]);
    storeRgb(b, rgb[1][0], rgb[1][1], rgb[1][2]);
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
