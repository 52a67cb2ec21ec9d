#include "shell/colour/ColourFunctions.h"

#include <cmath>
#include <new>

#include "foundation/Numeric.h"
#include "foundation/PropertyReader.h"
#include "image/Image.h"
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

} // namespace

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
    std::unique_ptr<LookupTableFunctor> f(new LookupTableFunctor);
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
    return std::unique_ptr<ColorMatrixFunctor>(new ColorMatrixFunctor(m));
}

std::unique_ptr<LookupTableFunctor> makeLevels(const PropertyReader& values)
{
    const int ib = values.getInt("input_black", 0);
    const int iw = values.getInt("input_white", 0);
    const int ob = values.getInt("output_black", 0);
    const int ow = values.getInt("output_white", 0);
    const double gamma = values.getFloat("input_gamma", 0.0f);
    std::unique_ptr<LookupTableFunctor> f(new LookupTableFunctor);
    if (ib == iw)
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
    std::unique_ptr<SepiaFunctor> f(new SepiaFunctor);
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
