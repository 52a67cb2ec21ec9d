#pragma once

#include "foundation/Numeric.h"
#include "foundation/Vec2.h"
#include "image/ColourMath.h"
#include "image/Image.h"

#include <climits>
#include <cstddef>
#include <cstdint>

// Per-pixel measures that steer the strokes: a function of a position in the
// reference image giving one float (scalar field) or one Vec2 (vector field).
typedef float (*ScalarFieldFunction)(const Image& image, float x, float y);

// Single-precision 1/255.99: a channel of 255 reads 0.996133, never 1.0.
constexpr float kChannelScale = 0.0039064027f;

// Eight sample points around a position; index i points at direction (i + 1) / 8.
struct Ring8 {
    float dx[8];
    float dy[8];
};

// Sixteen points on a circle of radius 2.5; index i points at direction i / 16.
struct Ring16 {
    float dx[16];
    float dy[16];
};

extern const float kTurns8[8];
extern const float kTurns16[16];
extern const Ring8 kRing1;
extern const Ring8 kRing2;
extern const Ring8 kRing3;
extern const Ring8 kRing4;
extern const Ring16& kRing16;

// ---------------------------------------------------------------------------
// Readers. An image without pixels reads as nothing at all: every measure of
// it is 0, and no sampler is ever asked to read it.

inline bool imageHasPixels(const Image& image)
{
    return !image.isEmpty();
}

// Bilinear sample of one channel (0 red, 1 green, 2 blue, 3 alpha), clamped
// into the image, scaled to 0..0.996. The gradient windows of the direction
// fields take over a hundred samples per dab: a window makes one reader (the
// image checks are done then) and samples it many times.
class ChannelReader {
public:
    ChannelReader(const Image& image, int channel) : sampler_(image.channelSampler(channel)) {}

    float operator()(const Image&, float x, float y) const { return at(x, y); }
    float at(float x, float y) const { return float(sampler_.at(x, y)) * kChannelScale; }

private:
    ChannelSampler sampler_;
};

inline float channelSample(const Image& image, float x, float y, int channel)
{
    return ChannelReader(image, channel).at(x, y);
}

// Bilinear pixel sample; all zero bytes beyond the sampler's outer bounds.
inline Pixel pixelSample(const Image& image, float x, float y)
{
    Pixel p;
    image.sampleBilinear(p, x, y);
    return p;
}

// ---------------------------------------------------------------------------
// Basic measures. Each is also the measure that the ring searches and the
// gradient estimators evaluate around a point.

float fieldOne(const Image& image, float x, float y);
float fieldRed(const Image& image, float x, float y);
float fieldGreen(const Image& image, float x, float y);
float fieldBlue(const Image& image, float x, float y);
float fieldAlpha(const Image& image, float x, float y);
float fieldBright(const Image& image, float x, float y);
float fieldSat(const Image& image, float x, float y);
float fieldHue(const Image& image, float x, float y);
float fieldMidRed(const Image& image, float x, float y);
float fieldMidGreen(const Image& image, float x, float y);
// Channel differences of one pixel sample: G - R, R - B, B - G.
float fieldGreenSubRed(const Image& image, float x, float y);
float fieldRedSubBlue(const Image& image, float x, float y);
float fieldBlueSubGreen(const Image& image, float x, float y);

// ---------------------------------------------------------------------------
// Searches around a point. The start index comes from the position (so flat
// areas give a position-dependent direction); ties keep the earliest visit.

// Start index bits from x * y, truncated toward zero; far-away positions
// saturate instead of overflowing.
int ringStartBits(float x, float y);

// The searches as templates over the measure, so that each catalogue row gets
// its own loop with a direct call of its measure.
template <ScalarFieldFunction F>
struct MeasureOf {
    float operator()(const Image& image, float x, float y) const { return F(image, x, y); }
};

// The measure the searches and windows evaluate, made once per search: the
// channel and brightness measures read through an inline sampler (the image
// checks done once), the others call their function.
template <ScalarFieldFunction F>
struct SampledMeasure {
    static MeasureOf<F> make(const Image&) { return MeasureOf<F>(); }
};

template <>
struct SampledMeasure<fieldRed> {
    static ChannelReader make(const Image& image) { return ChannelReader(image, 0); }
};

template <>
struct SampledMeasure<fieldGreen> {
    static ChannelReader make(const Image& image) { return ChannelReader(image, 1); }
};

template <>
struct SampledMeasure<fieldBlue> {
    static ChannelReader make(const Image& image) { return ChannelReader(image, 2); }
};

// fieldBright of an image with pixels.
struct BrightReader {
    float operator()(const Image& image, float x, float y) const
    {
        Pixel p;
        image.sampleBilinear(p, x, y);
        const uint8_t m = p.r > p.g ? p.r : p.g;
        return float(m > p.b ? m : p.b) * kColourByteScale;
    }
};

template <>
struct SampledMeasure<fieldBright> {
    static BrightReader make(const Image&) { return BrightReader(); }
};

template <class Measure>
float ringSearch8With(const Image& image, float x, float y, Measure measure, const float* dx,
                      const float* dy, bool highest)
{
    int s = ringStartBits(x, y) & 7;
    // Starting the winner at s keeps a NaN measure from leaving it unset.
    int winner = s;
    float best = highest ? -1000.0f : 1000.0f;
    for (int n = 0; n < 8; ++n) {
        const float v = measure(image, x + dx[s], y + dy[s]);
        if (highest ? v > best : v < best) {
            best = v;
            winner = s;
        }
        s = (s + 3) & 7;
    }
    return kTurns8[winner];
}

template <class Measure>
float ringSearch16With(const Image& image, float x, float y, Measure measure, bool highest)
{
    int s = ringStartBits(x, y) & 15;
    int winner = s;
    float best = highest ? -1000.0f : 1000.0f;
    for (int n = 0; n < 16; ++n) {
        const float v = measure(image, x + kRing16.dx[s], y + kRing16.dy[s]);
        if (highest ? v > best : v < best) {
            best = v;
            winner = s;
        }
        s = (s + 7) & 15;
    }
    return kTurns16[winner];
}

template <class Measure>
float contourSearch16With(const Image& image, float x, float y, Measure measure,
                          const float* dx, const float* dy)
{
    int s = ringStartBits(x, y) & 15;
    int lowIndex = s;
    int highIndex = s;
    float low = 100.0f;
    float high = -100.0f;
    for (int n = 0; n < 16; ++n) {
        const float v = measure(image, x + dx[s], y + dy[s]);
        if (v < low) {
            low = v;
            lowIndex = s;
        }
        if (v > high) {
            high = v;
            highIndex = s;
        }
        s = (s + 7) & 15;
    }
    if (highIndex < lowIndex)
        highIndex += 16;
    return kTurns16[((highIndex + lowIndex) >> 1) & 15];
}

float ringSearch8(const Image& image, float x, float y, ScalarFieldFunction measure,
                  const float dx[8], const float dy[8], bool highest);
float ringSearch16(const Image& image, float x, float y, ScalarFieldFunction measure,
                   bool highest);
// Direction halfway from the lowest to the highest of sixteen points, going
// round by increasing index.
float contourSearch16(const Image& image, float x, float y, ScalarFieldFunction measure,
                      const float dx[16], const float dy[16]);

// ---------------------------------------------------------------------------
// Vector measures: one pixel sample, each component 2 * (m - 0.5).

Vec2 vectorBrightSat(const Image& image, const Vec2& position);
Vec2 vectorHueSat(const Image& image, const Vec2& position);
Vec2 vectorRedGreen(const Image& image, const Vec2& position);
Vec2 vectorRedBlue(const Image& image, const Vec2& position);
Vec2 vectorRedSat(const Image& image, const Vec2& position);
