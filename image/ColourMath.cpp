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

// The two-way mix below holds a in lane 0 and b in lane 1 and takes every
// step of the single versions in the same order and precision (no fused
// operations), so each lane gives the single version's floats and bytes.

inline __m128 selectLanes(__m128 mask, __m128 yes, __m128 no)
{
    return _mm_or_ps(_mm_and_ps(mask, yes), _mm_andnot_ps(mask, no));
}

// Lane 1 and lane 0 swapped: each pixel's partner.
inline __m128 partnerLanes(__m128 x)
{
    return _mm_shuffle_ps(x, x, _MM_SHUFFLE(3, 2, 0, 1));
}

// rgbToHsv with default hue 0. Of the three hue quotients only the one the
// largest channel picks is taken, and it shares one division with the
// saturation's.
inline void rgbToHsvLanes(__m128 r, __m128 g, __m128 b, __m128& h, __m128& s, __m128& v)
{
    const __m128 zero = _mm_setzero_ps();
    // max(x, y) is x > y ? x : y, min(x, y) is x < y ? x : y, as written there.
    const __m128 mx = _mm_max_ps(b, _mm_max_ps(r, g));
    const __m128 mn = _mm_min_ps(b, _mm_min_ps(r, g));
    const __m128 delta = _mm_sub_ps(mx, mn);
    const __m128 black = _mm_cmpeq_ps(mx, zero);
    const __m128 grey = _mm_or_ps(black, _mm_cmpeq_ps(delta, zero));
    const __m128 redMax = _mm_cmpeq_ps(r, mx);
    const __m128 greenMax = _mm_cmpeq_ps(g, mx);
    const __m128 numerator = selectLanes(redMax, _mm_sub_ps(g, b),
                                         selectLanes(greenMax, _mm_sub_ps(b, r), _mm_sub_ps(r, g)));
    // Lanes 0, 1: the hue quotients; lanes 2, 3: the saturations.
    const __m128 quotients =
        _mm_div_ps(_mm_movelh_ps(numerator, delta), _mm_movelh_ps(delta, mx));
    // Red's quotient takes 0, which changes nothing: it is never -0 (its
    // numerator is +0 at most, channels being at least +0).
    const __m128 offset = _mm_andnot_ps(
        redMax, selectLanes(greenMax, _mm_set1_ps(2.0f), _mm_set1_ps(4.0f)));
    __m128 hue = _mm_add_ps(quotients, offset);
    hue = _mm_cvtpd_ps(_mm_mul_pd(_mm_cvtps_pd(hue), _mm_set1_pd(1.0 / 6.0)));
    // No quotient is beyond 1 either way, so no hue beyond 5/6 needs the
    // wrap from above.
    hue = selectLanes(_mm_cmplt_ps(hue, zero), _mm_add_ps(hue, _mm_set1_ps(1.0f)), hue);
    v = mx;
    s = _mm_andnot_ps(black, _mm_movehl_ps(quotients, quotients));
    h = _mm_andnot_ps(grey, hue);
}

// mixHsv of (h, s, v) toward its partner lane's by the lane's weights.
inline void mixHsvLanes(__m128& h, __m128& s, __m128& v, __m128 tH, __m128 tS, __m128 tV)
{
    const __m128 half = _mm_set1_ps(0.5f);
    const __m128 one = _mm_set1_ps(1.0f);
    __m128 ha = h;
    __m128 hb = partnerLanes(h);
    const __m128 lowerA = _mm_cmpgt_ps(_mm_sub_ps(ha, hb), half);
    const __m128 lowerB = _mm_andnot_ps(lowerA, _mm_cmpgt_ps(_mm_sub_ps(hb, ha), half));
    ha = selectLanes(lowerA, _mm_sub_ps(ha, one), ha);
    hb = selectLanes(lowerB, _mm_sub_ps(hb, one), hb);
    __m128 m = _mm_add_ps(ha, _mm_mul_ps(_mm_sub_ps(hb, ha), tH));
    m = selectLanes(_mm_cmplt_ps(m, _mm_setzero_ps()), _mm_add_ps(m, one),
                    selectLanes(_mm_cmpgt_ps(m, one), _mm_sub_ps(m, one), m));
    h = m;
    s = _mm_add_ps(s, _mm_mul_ps(_mm_sub_ps(partnerLanes(s), s), tS));
    v = _mm_add_ps(v, _mm_mul_ps(_mm_sub_ps(partnerLanes(v), v), tV));
}

// hsvToRgb of lanes 0 and 1; false (nothing written) for a hue outside the
// usual range, which the single version handles. The rounding there is done
// by adding 1.5 * 2^23, like every operation here in the default rounding
// (to nearest, ties to even).
inline bool hsvToRgbLanes(__m128 h, __m128 s, __m128 v, __m128& r, __m128& g, __m128& b)
{
    const __m128d shifted = _mm_add_pd(_mm_cvtps_pd(h), _mm_set1_pd(10000.0000001));
    const __m128d inRange = _mm_and_pd(_mm_cmpge_pd(shifted, _mm_setzero_pd()),
                                       _mm_cmplt_pd(shifted, _mm_set1_pd(2147483648.0)));
    if (_mm_movemask_pd(inRange) != 3)
        return false;
    const __m128d turn = _mm_sub_pd(shifted, _mm_cvtepi32_pd(_mm_cvttpd_epi32(shifted)));
    const __m128 x = _mm_cvtpd_ps(_mm_mul_pd(turn, _mm_set1_pd(6.0)));
    // The sector, roundToInt(x - 0.5) with ties to even, as a float: 0..6,
    // where 6 (a remainder just below 1 rounded up) is sector 0 again and
    // leaves f = 0 either way.
    const __m128 magic = _mm_set1_ps(12582912.0f);
    const __m128 sector = _mm_sub_ps(_mm_add_ps(_mm_sub_ps(x, _mm_set1_ps(0.5f)), magic), magic);
    const __m128 one = _mm_set1_ps(1.0f);
    const __m128 f = _mm_sub_ps(x, sector);
    // With s = 0 all three are v exactly, as the single version takes it.
    const __m128 p = _mm_mul_ps(_mm_sub_ps(one, s), v);
    const __m128 q = _mm_mul_ps(_mm_sub_ps(one, _mm_mul_ps(f, s)), v);
    const __m128 t = _mm_mul_ps(_mm_sub_ps(one, _mm_mul_ps(_mm_sub_ps(one, f), s)), v);
    const auto in = [&](float n) { return _mm_cmpeq_ps(sector, _mm_set1_ps(n)); };
    const __m128 s0 = _mm_or_ps(in(0.0f), in(6.0f)), s1 = in(1.0f), s2 = in(2.0f);
    const __m128 s3 = in(3.0f), s4 = in(4.0f), s5 = in(5.0f);
    const auto pick = [](__m128 mask, __m128 value) { return _mm_and_ps(mask, value); };
    r = _mm_or_ps(_mm_or_ps(pick(_mm_or_ps(s0, s5), v), pick(s1, q)),
                  _mm_or_ps(pick(_mm_or_ps(s2, s3), p), pick(s4, t)));
    g = _mm_or_ps(_mm_or_ps(pick(s0, t), pick(_mm_or_ps(s1, s2), v)),
                  _mm_or_ps(pick(s3, q), pick(_mm_or_ps(s4, s5), p)));
    b = _mm_or_ps(_mm_or_ps(pick(_mm_or_ps(s0, s1), p), pick(s2, t)),
                  _mm_or_ps(pick(_mm_or_ps(s3, s4), v), pick(s5, q)));
    return true;
}

// floatToChannel of every lane. roundFloatToByte's ends as a clamp (a NaN
// takes max's second operand, 0), then the nearest integer with ties to even
// left in the low mantissa bits by adding 2^23.
inline __m128i floatToChannelLanes(__m128 x)
{
    __m128 v = _mm_sub_ps(_mm_mul_ps(x, _mm_set1_ps(255.99f)), _mm_set1_ps(0.5f));
    v = _mm_min_ps(_mm_max_ps(v, _mm_setzero_ps()), _mm_set1_ps(255.0f));
    return _mm_and_si128(_mm_castps_si128(_mm_add_ps(v, _mm_set1_ps(8388608.0f))),
                         _mm_set1_epi32(0xFF));
}

} // namespace

void blendPixelHsvBothWays(const Pixel& a, const Pixel& b, const float ta[3], const float tb[3],
                           Pixel& outA, Pixel& outB)
{
    const __m128i zero = _mm_setzero_si128();
    // Bytes B, G, R, A of a and b interleaved, then widened: lanes a, b per
    // channel.
    const __m128i words = _mm_unpacklo_epi32(_mm_cvtsi32_si128(int(a.word())),
                                             _mm_cvtsi32_si128(int(b.word())));
    const __m128i wide = _mm_unpacklo_epi8(
        _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(a.word())), _mm_cvtsi32_si128(int(b.word()))),
        zero);
    const __m128 scale = _mm_set1_ps(kColourByteScale);
    const __m128 blueGreen = _mm_mul_ps(_mm_cvtepi32_ps(_mm_unpacklo_epi16(wide, zero)), scale);
    const __m128 red = _mm_mul_ps(_mm_cvtepi32_ps(_mm_unpackhi_epi16(wide, zero)), scale);
    __m128 h, s, v;
    rgbToHsvLanes(red, _mm_movehl_ps(blueGreen, blueGreen), blueGreen, h, s, v);
    mixHsvLanes(h, s, v, _mm_setr_ps(ta[0], tb[0], 0.0f, 0.0f),
                _mm_setr_ps(ta[1], tb[1], 0.0f, 0.0f), _mm_setr_ps(ta[2], tb[2], 0.0f, 0.0f));
    __m128 r, g, bl;
    if (!hsvToRgbLanes(h, s, v, r, g, bl)) {
        float mixed[3][4];
        _mm_storeu_ps(mixed[0], h);
        _mm_storeu_ps(mixed[1], s);
        _mm_storeu_ps(mixed[2], v);
        outA = a;
        outB = b;
        setFromHsv(outA, mixed[0][0], mixed[1][0], mixed[2][0]);
        setFromHsv(outB, mixed[0][1], mixed[1][1], mixed[2][1]);
        return;
    }
    const __m128i redGreen = floatToChannelLanes(_mm_movelh_ps(r, g));
    const __m128i blue = floatToChannelLanes(bl);
    const __m128i rgb = _mm_or_si128(
        _mm_or_si128(blue, _mm_slli_epi32(_mm_srli_si128(redGreen, 8), 8)),
        _mm_slli_epi32(redGreen, 16));
    const __m128i out =
        _mm_or_si128(rgb, _mm_and_si128(words, _mm_set1_epi32(int(0xFF000000u))));
    outA = Pixel::fromWord(uint32_t(_mm_cvtsi128_si32(out)));
    outB = Pixel::fromWord(uint32_t(_mm_cvtsi128_si32(_mm_srli_si128(out, 4))));
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
