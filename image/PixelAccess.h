#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "foundation/Numeric.h"
#include "image/Pixel.h"
#include "image/PixelFormat.h"

// The one way pixel bytes become a Pixel and back, for Image and for the
// painting loops. Inline: the loops read and write a few pixels per dab
// millions of times a render, and an out-of-line call costs more than the
// pixel work. Hot loops take a layout once into a local (Image::pixelLayout):
// a byte store may alias anything, so fields read through the image would be
// read again after every store.
struct PixelLayout
{
    PixelLayout(int format, uint32_t bytesPerPixel, const uint8_t* channels)
        : bgra(format == kFormatBgra), step(bytesPerPixel), r(channels[kChannelR]),
          g(channels[kChannelG]), b(channels[kChannelB]), a(channels[kChannelA])
    {
    }

    // Three bytes B, G, R and no alpha: what hosts mostly hand in, so the
    // stamp loops have a variant for it (loadAs<true> and storeAs<true>).
    bool isBgr() const { return step == 3 && b == 0 && g == 1 && r == 2 && a >= 0x80; }

    // Absent colour channels read as 0, an absent alpha as 255; absent
    // channels are not written.
    Pixel load(const uint8_t* p) const
    {
        Pixel out;
        if (bgra) {
            std::memcpy(&out, p, 4);
            return out;
        }
        out.r = r >= 0x80 ? 0 : p[r];
        out.g = g >= 0x80 ? 0 : p[g];
        out.b = b >= 0x80 ? 0 : p[b];
        out.a = a >= 0x80 ? 255 : p[a];
        return out;
    }

    void store(uint8_t* p, const Pixel& px) const
    {
        if (bgra) {
            std::memcpy(p, &px, 4);
            return;
        }
        if (r < 0x80)
            p[r] = px.r;
        if (g < 0x80)
            p[g] = px.g;
        if (b < 0x80)
            p[b] = px.b;
        if (a < 0x80)
            p[a] = px.a;
    }

    // Pixel x of a row, load and store for a layout known at compile time
    // to be isBgr() (Bgr) or not.
    template <bool Bgr>
    uint8_t* atAs(uint8_t* row, int x) const
    {
        return row + (Bgr ? 3 : int(step)) * x;
    }

    template <bool Bgr>
    const uint8_t* atAs(const uint8_t* row, int x) const
    {
        return row + (Bgr ? 3 : int(step)) * x;
    }

    template <bool Bgr>
    Pixel loadAs(const uint8_t* p) const
    {
        return Bgr ? Pixel(p[2], p[1], p[0], 255) : load(p);
    }

    template <bool Bgr>
    void storeAs(uint8_t* p, const Pixel& px) const
    {
        if (!Bgr) {
            store(p, px);
            return;
        }
        p[0] = px.b;
        p[1] = px.g;
        p[2] = px.r;
    }

    bool bgra;
    uint32_t step;
    uint8_t r, g, b, a; // byte offsets; 0x80 and up: no such channel
};

// Cell and fraction of a bilinear sample coordinate: the nearest integer to
// c - 0.5 (ties to even), which is floor(c) except at odd whole numbers.
inline void bilinearCell(float c, int& cell, float& fraction)
{
    cell = roundToInt(c - 0.5f);
    fraction = c - float(cell);
}

// A fraction 0..1 as a byte weight for mixPixels.
inline uint8_t bilinearWeight(float f)
{
    return uint8_t(clampInt(roundToInt(f * 255.99f - 0.5f), 0, 255));
}

// An asm statement, not __builtin_prefetch: GCC finds a function whose only
// effect is the builtin pure and drops the calls to it.
inline void prefetchLine(const void* address)
{
    asm volatile("prefetcht0 %0" : : "m"(*static_cast<const char*>(address)));
}

// Bilinear sample of one channel's byte, positions clamped into the image;
// pixel (i, j) sits at the whole coordinate (i, j). An image without pixels
// reads 0, an absent channel 255. The checks are made once, so a gradient
// window can make one sampler and sample it many times.
class ChannelSampler
{
public:
    ChannelSampler(const uint8_t* bits, uint32_t stride, uint32_t step, int width, int height,
                   const uint8_t* channels, int channel)
        : base_(nullptr), stride_(std::ptrdiff_t(stride)), step_(int(step)), lastX_(width - 1),
          lastY_(height - 1), constant_(0)
    {
        if (width <= 0 || height <= 0 || !bits)
            return;
        if (channel < 0 || channel >= kChannelLayoutSize || channels[channel] >= 0x80)
            constant_ = 255;
        else
            base_ = bits + channels[channel];
    }

    int at(float x, float y) const
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
        const uint8_t* row0 = base_ + std::ptrdiff_t(clampInt(iy, 0, lastY_)) * stride_;
        const uint8_t* row1 =
            base_ + std::ptrdiff_t(clampInt(iy < INT_MAX ? iy + 1 : iy, 0, lastY_)) * stride_;
        const float c00 = row0[x0];
        const float c10 = row0[x1];
        const float c01 = row1[x0];
        const float c11 = row1[x1];
        const float top = float(roundByte((c10 - c00) * fx + c00));
        const float bottom = float(roundByte((c11 - c01) * fx + c01));
        return roundByte((bottom - top) * fy + top);
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

    const uint8_t* base_;
    std::ptrdiff_t stride_;
    int step_;
    int lastX_;
    int lastY_;
    int constant_;
};
