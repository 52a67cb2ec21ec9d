#pragma once

#include <cstdint>
#include <memory>

#include "foundation/String.h"
#include "image/ColorMatrix.h"
#include "shell/transforms/PixelFunction.h"

class PropertyReader;

// Replaces R, G and B through one 256-entry table each; keeps alpha.
class LookupTableFunctor : public PixelFunction
{
public:
    // Identity tables.
    LookupTableFunctor();
    Pixel pixelAt(const Image& source, int x, int y) const override;
    bool mapRow(const Image& source, int y, Image& destination) const override;

    uint8_t red[256];
    uint8_t green[256];
    uint8_t blue[256];
};

// Applies one colour matrix; keeps alpha.
class ColorMatrixFunctor : public PixelFunction
{
public:
    explicit ColorMatrixFunctor(const ColorMatrix& matrix) : matrix(matrix) {}
    Pixel pixelAt(const Image& source, int x, int y) const override;
    bool mapRow(const Image& source, int y, Image& destination) const override;

    ColorMatrix matrix;
};

// Blends each pixel toward a tint chosen by its mean brightness.
class SepiaFunctor : public PixelFunction
{
public:
    Pixel pixelAt(const Image& source, int x, int y) const override;

    uint8_t red[256];
    uint8_t green[256];
    uint8_t blue[256];
    float amount = 0.0f;
};

// The adjustments of the colour menu, built from their parameter values;
// null when memory runs out.
std::unique_ptr<LookupTableFunctor> makeBrightnessContrast(const PropertyReader& values);
std::unique_ptr<ColorMatrixFunctor> makeHueSaturation(const PropertyReader& values);
std::unique_ptr<LookupTableFunctor> makeLevels(const PropertyReader& values);
std::unique_ptr<SepiaFunctor> makeSepia(const PropertyReader& values);

// The function for an operation key ("color_brightcontrast",
// "color_huesaturation", "color_levels", "color_sepia"); null for any other
// key or when memory runs out.
std::unique_ptr<PixelFunction> makeColourFunction(const String& key, const PropertyReader& values);
