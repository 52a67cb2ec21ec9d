#include "engine/fields/ImageMeasures.h"

#include "foundation/Angles.h"
#include "foundation/Numeric.h"

#include <cmath>

const float kTurns8[8] = {0.125f, 0.25f, 0.375f, 0.5f, 0.625f, 0.75f, 0.875f, 0.0f};

const float kTurns16[16] = {
    0.0f / 16, 1.0f / 16, 2.0f / 16,  3.0f / 16,  4.0f / 16,  5.0f / 16,  6.0f / 16,  7.0f / 16,
    8.0f / 16, 9.0f / 16, 10.0f / 16, 11.0f / 16, 12.0f / 16, 13.0f / 16, 14.0f / 16, 15.0f / 16,
};

const Ring8 kRing1 = {
    {1.5f, 1.5f, 1.5f, 0.0f, -1.5f, -1.5f, -1.5f, 0.0f},
    {1.5f, 0.0f, -1.5f, -1.5f, -1.5f, 0.0f, 1.5f, 1.5f},
};
const Ring8 kRing2 = {
    {1.5f, 2.0f, 1.5f, 0.0f, -1.5f, -2.0f, -1.5f, 0.0f},
    {1.5f, 0.0f, -1.5f, -2.0f, -1.5f, 0.0f, 1.5f, 2.0f},
};
const Ring8 kRing3 = {
    {2.5f, 2.5f, 2.5f, 0.0f, -2.5f, -2.5f, -2.5f, 0.0f},
    {2.5f, 0.0f, -2.5f, -2.5f, -2.5f, 0.0f, 2.5f, 2.5f},
};
const Ring8 kRing4 = {
    {2.5f, 3.0f, 2.5f, 0.0f, -2.5f, -3.0f, -2.5f, 0.0f},
    {2.5f, 0.0f, -2.5f, -3.0f, -2.5f, 0.0f, 2.5f, 3.0f},
};

namespace {

Ring16 buildRing16()
{
    // Computed in double and stored as float, so the offsets match the
    // ones every stored preset was tuned with.
    Ring16 ring;
    for (int i = 0; i < 16; ++i)
        ring.dx[i] = static_cast<float>(2.5 * std::sin(kTwoPi * i / 16.0));
    for (int i = 0; i < 16; ++i)
        ring.dy[i] = static_cast<float>(2.5 * std::cos(kTwoPi * i / 16.0));
    return ring;
}

const Ring16 ring16Storage = buildRing16();

} // namespace

const Ring16& kRing16 = ring16Storage;

int ringStartBits(float x, float y)
{
    // The product of two floats is exact in double.
    return truncToInt(static_cast<double>(x) * static_cast<double>(y));
}

// ---------------------------------------------------------------------------

float fieldOne(const Image& image, float, float)
{
    return imageHasPixels(image) ? 1.0f : 0.0f;
}

float fieldRed(const Image& image, float x, float y)
{
    return imageHasPixels(image) ? channelSample(image, x, y, 0) : 0.0f;
}

float fieldGreen(const Image& image, float x, float y)
{
    return imageHasPixels(image) ? channelSample(image, x, y, 1) : 0.0f;
}

float fieldBlue(const Image& image, float x, float y)
{
    return imageHasPixels(image) ? channelSample(image, x, y, 2) : 0.0f;
}

float fieldAlpha(const Image& image, float x, float y)
{
    return imageHasPixels(image) ? channelSample(image, x, y, 3) : 0.0f;
}

float fieldBright(const Image& image, float x, float y)
{
    return imageHasPixels(image) ? pixelValue(pixelSample(image, x, y)) : 0.0f;
}

float fieldSat(const Image& image, float x, float y)
{
    return imageHasPixels(image) ? pixelSaturation(pixelSample(image, x, y)) : 0.0f;
}

float fieldHue(const Image& image, float x, float y)
{
    return imageHasPixels(image) ? pixelHue(pixelSample(image, x, y)) : 0.0f;
}

float fieldMidRed(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    return 2.0f * std::fabs(0.5f - channelSample(image, x, y, 0));
}

float fieldMidGreen(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    return 2.0f * std::fabs(0.5f - channelSample(image, x, y, 1));
}

float fieldGreenSubRed(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    const Pixel p = pixelSample(image, x, y);
    return p.g * kChannelScale - p.r * kChannelScale;
}

float fieldRedSubBlue(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    const Pixel p = pixelSample(image, x, y);
    return p.r * kChannelScale - p.b * kChannelScale;
}

float fieldBlueSubGreen(const Image& image, float x, float y)
{
    if (!imageHasPixels(image))
        return 0.0f;
    const Pixel p = pixelSample(image, x, y);
    return p.b * kChannelScale - p.g * kChannelScale;
}

// ---------------------------------------------------------------------------

float ringSearch8(const Image& image, float x, float y, ScalarFieldFunction measure,
                  const float dx[8], const float dy[8], bool highest)
{
    return ringSearch8With(image, x, y, measure, dx, dy, highest);
}

float ringSearch16(const Image& image, float x, float y, ScalarFieldFunction measure,
                   bool highest)
{
    return ringSearch16With(image, x, y, measure, highest);
}

float contourSearch16(const Image& image, float x, float y, ScalarFieldFunction measure,
                      const float dx[16], const float dy[16])
{
    return contourSearch16With(image, x, y, measure, dx, dy);
}

// ---------------------------------------------------------------------------

namespace {

inline float centred(float m)
{
    return 2.0f * (m - 0.5f);
}

} // namespace

Vec2 vectorBrightSat(const Image& image, const Vec2& position)
{
    if (!imageHasPixels(image))
        return Vec2(0.0f, 0.0f);
    const Pixel p = pixelSample(image, position.x, position.y);
    return Vec2(centred(pixelValue(p)), centred(pixelSaturation(p)));
}

Vec2 vectorHueSat(const Image& image, const Vec2& position)
{
    if (!imageHasPixels(image))
        return Vec2(0.0f, 0.0f);
    const Pixel p = pixelSample(image, position.x, position.y);
    return Vec2(centred(pixelHue(p)), centred(pixelSaturation(p)));
}

Vec2 vectorRedGreen(const Image& image, const Vec2& position)
{
    if (!imageHasPixels(image))
        return Vec2(0.0f, 0.0f);
    const Pixel p = pixelSample(image, position.x, position.y);
    return Vec2(centred(p.r * kChannelScale), centred(p.g * kChannelScale));
}

Vec2 vectorRedBlue(const Image& image, const Vec2& position)
{
    if (!imageHasPixels(image))
        return Vec2(0.0f, 0.0f);
    const Pixel p = pixelSample(image, position.x, position.y);
    return Vec2(centred(p.r * kChannelScale), centred(p.b * kChannelScale));
}

Vec2 vectorRedSat(const Image& image, const Vec2& position)
{
    if (!imageHasPixels(image))
        return Vec2(0.0f, 0.0f);
    const Pixel p = pixelSample(image, position.x, position.y);
    return Vec2(centred(p.r * kChannelScale), centred(pixelSaturation(p)));
}
