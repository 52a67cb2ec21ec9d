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
// into the image, scaled to 0..0.996.
//
// This is Image::sampleChannelBilinear written out inline: the gradient
// windows of the direction fields take over a hundred samples per dab, and
// the out-of-line call with its per-call checks was most of a stroke's time.
// Same cell choice, same float steps, same rounding, so the same bytes. The
// image checks are done once when the reader is made, so a window can make
// one reader and sample it many times.
class ChannelReader {
public:
    ChannelReader(const Image& image, int channel)
        : base_(nullptr), stride_(std::ptrdiff_t(image.stride())), step_(int(image.step())),
          lastX_(image.width() - 1), lastY_(image.height() - 1), constant_(0.0f)
    {
        if (image.isEmpty())
            return;
        const std::uint8_t* layout = image.channelLayout();
        if (channel < 0 || channel >= kChannelLayoutSize || layout[channel] >= 0x80)
            constant_ = 255 * kChannelScale;
        else
            base_ = image.bits() + layout[channel];
    }

    float operator()(const Image&, float x, float y) const { return at(x, y); }

    float at(float x, float y) const
    {
        if (!base_)
            return constant_;
        // Cell: nearest integer to c - 0.5, ties to even; fraction in float.
        const int ix = roundToInt(x - 0.5f);
        const int iy = roundToInt(y - 0.5f);
        const float fx = x - float(ix);
        const float fy = y - float(iy);
        const int x0 = clampInt(ix, 0, lastX_) * step_;
        const int x1 = clampInt(ix < INT_MAX ? ix + 1 : ix, 0, lastX_) * step_;
        const std::uint8_t* row0 = base_ + std::ptrdiff_t(clampInt(iy, 0, lastY_)) * stride_;
        const std::uint8_t* row1 =
            base_ + std::ptrdiff_t(clampInt(iy < INT_MAX ? iy + 1 : iy, 0, lastY_)) * stride_;
        const float c00 = row0[x0];
        const float c10 = row0[x1];
        const float c01 = row1[x0];
        const float c11 = row1[x1];
        const float top = float(roundByte((c10 - c00) * fx + c00));
        const float bottom = float(roundByte((c11 - c01) * fx + c01));
        return roundByte((bottom - top) * fy + top) * kChannelScale;
    }

private:
    // clampInt(roundToInt(v), 0, 255) without the trip through double for the
    // usual in-range value; truncation and the exact float remainder give the
    // same ties-to-even result.
    static int roundByte(float v)
    {
        if (v >= 0.0f && v <= 255.0f) {
            int i = int(v);
            const float f = v - float(i);
            if (f > 0.5f || (f == 0.5f && (i & 1)))
                ++i;
            return i;
        }
        return clampInt(roundToInt(v), 0, 255);
    }

    const std::uint8_t* base_;
    std::ptrdiff_t stride_;
    int step_;
    int lastX_;
    int lastY_;
    float constant_;
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
