#include "shell/colour/ColourFunctions.h"

#include <emmintrin.h>

#include <cmath>
#include <cstring>
#include <new>

#include "foundation/Numeric.h"
#include "foundation/PropertyReader.h"
#include "image/Image.h"
#include "image/PixelFormat.h"
#include "shell/colour/ColorMatrixOps.h"

namespace {

inline uint8_t clampByte(long long v)
{
    return uint8_t(v < 0 ? 0 : (v > 255 ? 255 : v));
}

inline Pixel sourcePixel(const Image& source, int x, int y)
{
    return source.getPixel(source.clampX(x), source.clampY(y));
}

// Rows of B,G,R or B,G,R,A pixels in the same format on both sides.
inline bool bgrRows(const Image& source, const Image& destination)
{
    return (source.format() == kFormatBgr || source.format() == kFormatBgra)
        && destination.format() == source.format() && destination.width() >= source.width();
}

} // namespace

bool LookupTableFunctor::mapRow(const Image& source, int y, Image& destination) const
{
    if (!bgrRows(source, destination))
        return false;
    const int step = int(source.step());
    const uint8_t* s = source.row(y);
    uint8_t* d = destination.row(y);
    for (int x = 0; x < source.width(); ++x, s += step, d += step) {
        d[0] = blue[s[0]];
        d[1] = green[s[1]];
        d[2] = red[s[2]];
        if (step == 4)
            d[3] = s[3];
    }
    return true;
}

bool ColorMatrixFunctor::mapRow(const Image& source, int y, Image& destination) const
{
    if (!bgrRows(source, destination))
        return false;
    // Lane j computes r x m[j] + g x m[4+j] + b x m[8+j] + m[12+j] in the order
    // applyColorMatrix does, then x 255.99 - 0.5 rounded to the nearest even
    // (the control word's default) and clamped; lanes hold R, G, B.
    const unsigned int csr = _mm_getcsr();
    _mm_setcsr(csr & ~0x6000u);
    const __m128 k = _mm_set1_ps(0.0039064027f);
    const __m128 m0 = _mm_setr_ps(matrix[0], matrix[1], matrix[2], 0.0f);
    const __m128 m1 = _mm_setr_ps(matrix[4], matrix[5], matrix[6], 0.0f);
    const __m128 m2 = _mm_setr_ps(matrix[8], matrix[9], matrix[10], 0.0f);
    const __m128 m3 = _mm_setr_ps(matrix[12], matrix[13], matrix[14], 0.0f);
    const __m128 scale = _mm_set1_ps(255.99f);
    const __m128 half = _mm_set1_ps(0.5f);
    // NaN and far-off values: roundToInt gives 0 for NaN and saturates.
    const __m128 low = _mm_set1_ps(-1e9f);
    const __m128 high = _mm_set1_ps(1e9f);
    const int step = int(source.step());
    const uint8_t* s = source.row(y);
    uint8_t* d = destination.row(y);
    for (int x = 0; x < source.width(); ++x, s += step, d += step) {
        const __m128 r = _mm_mul_ps(_mm_set1_ps(float(s[2])), k);
        const __m128 g = _mm_mul_ps(_mm_set1_ps(float(s[1])), k);
        const __m128 b = _mm_mul_ps(_mm_set1_ps(float(s[0])), k);
        __m128 v = _mm_add_ps(_mm_add_ps(_mm_add_ps(_mm_mul_ps(r, m0), _mm_mul_ps(g, m1)),
                                         _mm_mul_ps(b, m2)), m3);
        v = _mm_sub_ps(_mm_mul_ps(scale, v), half);
        v = _mm_min_ps(_mm_max_ps(v, low), high);
        const __m128i q = _mm_cvtps_epi32(v);
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(q, q), q);
        const uint32_t rgb = uint32_t(_mm_cvtsi128_si32(bytes));
        d[0] = uint8_t(rgb >> 16);
        d[1] = uint8_t(rgb >> 8);
        d[2] = uint8_t(rgb);
        if (step == 4)
            d[3] = s[3];
    }
    _mm_setcsr(csr);
    return true;
}

LookupTableFunctor::LookupTableFunctor()
{
    for (int i = 0; i < 256; ++i)
        red[i] = green[i] = blue[i] = uint8_t(i);
}

Pixel LookupTableFunctor::pixelAt(const Image& source, int x, int y) const
{
    Pixel p = sourcePixel(source, x, y);
    p.r = red[p.r];
    p.g = green[p.g];
    p.b = blue[p.b];
    return p;
}

Pixel ColorMatrixFunctor::pixelAt(const Image& source, int x, int y) const
{
    Pixel p = sourcePixel(source, x, y);
    applyColorMatrix(matrix, p);
    return p;
}

Pixel SepiaFunctor::pixelAt(const Image& source, int x, int y) const
{
    Pixel p = sourcePixel(source, x, y);
    const int k = (p.r + p.g + p.b) / 3;
    const auto blend = [this](uint8_t tinted, uint8_t own) {
        return clampByte(roundToInt(float(int(tinted) - int(own)) * amount + float(own)));
    };
    p.r = blend(red[k], p.r);
    p.g = blend(green[k], p.g);
    p.b = blend(blue[k], p.b);
    return p;
}

std::unique_ptr<LookupTableFunctor> makeBrightnessContrast(const PropertyReader& values)
{
    const int b = roundToInt(values.getFloat("brightness", 0.0f) * 256.0);
    const int c = roundToInt((values.getFloat("contrast", 0.0f) + 1.0) * 256.0);
    const long long p = roundToInt(values.getFloat("contrast_center", 0.0f) * 256.0 + 1.0);
    std::unique_ptr<LookupTableFunctor> f(new (std::nothrow) LookupTableFunctor);
    if (!f)
        return f;
    uint8_t* tables[3] = {f->red, f->green, f->blue};
    const char* names[3] = {"red", "green", "blue"};
    for (int t = 0; t < 3; ++t) {
        const long long bc = values.getInt(String(names[t]) + ".brightness", b);
        const long long cc = values.getInt(String(names[t]) + ".contrast", c);
        // 64-bit so that extreme values clamp instead of wrapping.
        for (int i = 0; i < 256; ++i)
            tables[t][i] = clampByte((((i - p) * cc) >> 8) + p + bc);
    }
    return f;
}

std::unique_ptr<ColorMatrixFunctor> makeHueSaturation(const PropertyReader& values)
{
    ColorMatrix m;
    rotateHue(m, values.getFloat("hue_rotate", 0.0f));
    saturateColors(m, values.getFloat("saturation", 0.0f) + 1.0f);
    const float l = values.getFloat("lightness", 0.0f);
    translateColors(m, l, l, l);
    return std::unique_ptr<ColorMatrixFunctor>(new (std::nothrow) ColorMatrixFunctor(m));
}

std::unique_ptr<LookupTableFunctor> makeLevels(const PropertyReader& values)
{
    const int ib = values.getInt("input_black", 0);
    const int iw = values.getInt("input_white", 0);
    const int ob = values.getInt("output_black", 0);
    const int ow = values.getInt("output_white", 0);
    const double gamma = values.getFloat("input_gamma", 0.0f);
    std::unique_ptr<LookupTableFunctor> f(new (std::nothrow) LookupTableFunctor);
    if (!f || ib == iw)
        return f;
    for (int i = 0; i < 256; ++i) {
        double t = (double(i) - ib) / (double(iw) - ib);
        // Clamped before the power: a negative base has no real power and
        // values beyond input white would pass output white.
        t = t > 0.0 ? (t < 1.0 ? t : 1.0) : 0.0;
        const float v = float(std::pow(t, gamma) * (double(ow) - ob) + ob);
        f->red[i] = f->green[i] = f->blue[i] = clampByte(roundToInt(v));
    }
    return f;
}

std::unique_ptr<SepiaFunctor> makeSepia(const PropertyReader& values)
{
    std::unique_ptr<SepiaFunctor> f(new (std::nothrow) SepiaFunctor);
    if (!f)
        return f;
    f->amount = values.getFloat("amount", 0.7f);
    const float b = values.getFloat("brightness", 0.0f);
    ColorMatrix m;
    rotateHue(m, values.getFloat("hue_rotate", 0.0f));
    translateColors(m, b, b, b);
    Pixel tint(180, 120, 80, 255);
    applyColorMatrix(m, tint);
    const double oneOver127 = 0.007874015748031496;
    uint8_t* tables[3] = {f->red, f->green, f->blue};
    const int tints[3] = {tint.r, tint.g, tint.b};
    for (int t = 0; t < 3; ++t) {
        const double tc = tints[t];
        for (int i = 0; i < 128; ++i) {
            tables[t][i] = clampByte(roundToInt(tc * i * oneOver127));
            tables[t][128 + i] = clampByte(roundToInt(tc + (255.0 - tc) * i * oneOver127));
        }
    }
    return f;
}

std::unique_ptr<PixelFunction> makeColourFunction(const String& key, const PropertyReader& values)
{
    try {
        if (key == "color_brightcontrast")
            return makeBrightnessContrast(values);
        if (key == "color_huesaturation")
            return makeHueSaturation(values);
        if (key == "color_levels")
            return makeLevels(values);
        if (key == "color_sepia")
            return makeSepia(values);
    } catch (const std::bad_alloc&) {
    }
    return nullptr;
}
