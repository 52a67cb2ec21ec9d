#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/Rect.h"
#include "foundation/Vec2.h"
#include "image/Pixel.h"
#include "image/PixelAccess.h"
#include "image/PixelCompositor.h"
#include "image/PixelFormat.h"

class Image;
class PixelGenerator;

// Abstract sampler of pixels at float coordinates.
class PixelSource
{
public:
    virtual ~PixelSource();
    virtual void sample(Pixel& out, const float& x, const float& y) const = 0;
    // Samples count pixels from (x, y) in steps of (dx, dy), storing each at
    // the cursor and advancing it.
    virtual void sampleSpan(float x, float y, float dx, float dy, int count, Pixel*& cursor) const;
};

// The image operations in the order Image keeps them.
class AbstractImage : public PixelSource
{
public:
    // Bilinear over getPixelAt of the four neighbours, so the border rule
    // applies.
    void sample(Pixel& out, const float& x, const float& y) const override;
    virtual void getPixelAt(Pixel& out, const int& x, const int& y) const = 0;
    virtual void setPixelChecked(int x, int y, const Pixel& p) = 0;
    virtual void blendPixel(int x, int y, const Pixel& p) = 0;
    virtual void copyFromSource(int x, int y, int count, const PixelSource& source, int ignored,
                                float sx, float sy, const Vec2& step) = 0;
    virtual void renderScaled(const PixelSource& source, int x0, int y0, int x1, int y1,
                              float sx0, float sy0, float sx1, float sy1) = 0;
    // Copies source.getPixelAt into setPixelChecked over the rectangle.
    virtual void copyRect(const AbstractImage& source, int x0, int y0, int x1, int y1);
    virtual void copyPixels(const Image& source, int x0, int y0, int x1, int y1) = 0;
    virtual bool createWithDepth(int width, int height, int bytesPerPixel) = 0;
    virtual bool create(int width, int height, int format) = 0;
};

// A raster image over 8-bit channels in memory it does not own. Accessors
// without "Checked", "IfInside" or "At" in their names do not check
// coordinates.
class Image : public AbstractImage
{
public:
    Image();
    Image(int width, int height, uint8_t* bits, uint32_t stride, int format);
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;
    ~Image() override;

    // Virtual operations.
    void sample(Pixel& out, const float& x, const float& y) const override;
    void sampleSpan(float x, float y, float dx, float dy, int count, Pixel*& cursor) const override;
    // Outside the image: the border colour, or the nearest edge pixel when
    // the clamp flag is set.
    void getPixelAt(Pixel& out, const int& x, const int& y) const override;
    void setPixelChecked(int x, int y, const Pixel& p) override;
    // Mixes p into the pixel by p's alpha, keeping the larger alpha; nothing
    // outside or for alpha 0.
    void blendPixel(int x, int y, const Pixel& p) override;
    void copyFromSource(int x, int y, int count, const PixelSource& source, int ignored,
                        float sx, float sy, const Vec2& step) override;
    void renderScaled(const PixelSource& source, int x0, int y0, int x1, int y1,
                      float sx0, float sy0, float sx1, float sy1) override;
    void copyRect(const AbstractImage& source, int x0, int y0, int x1, int y1) override;
    void copyPixels(const Image& source, int x0, int y0, int x1, int y1) override;
    // A plain view owns no memory: both return false.
    bool createWithDepth(int width, int height, int bytesPerPixel) override;
    bool create(int width, int height, int format) override;

    // Binding.
    void attach(int width, int height, uint8_t* bits, uint32_t stride, int format);
    void setChannelLayout();
    // Copies layout entries up to the end value 0xFF; returns how many.
    int setChannelLayoutFrom(const uint8_t* layout);

    int width() const { return width_; }
    int height() const { return height_; }
    uint32_t step() const { return step_; }
    int format() const { return format_; }
    uint32_t stride() const { return stride_; }
    uint8_t* bits() const { return bits_; }
    const uint8_t* channelLayout() const { return layout_; }
    PixelLayout pixelLayout() const { return PixelLayout(format_, step_, layout_); }
    ChannelSampler channelSampler(int channelIndex) const
    {
        return ChannelSampler(bits_, stride_, step_, width_, height_, layout_, channelIndex);
    }
    // True when the image has no pixels to read or write.
    bool isEmpty() const { return width_ <= 0 || height_ <= 0 || !bits_; }
    void setBorderColor(const Pixel& p) { border_ = p; }
    void setClampToEdge(bool clamp) { clamp_ = clamp ? 1 : 0; }
    Rect bounds() const { return Rect(0, 0, width_, height_); }

    // Asks the cache for the pixels x0..x1 of row y, each clamped into the
    // image; only a hint, it reads and changes nothing.
    void prefetchPixels(long long x0, long long x1, long long y) const
    {
        if (isEmpty())
            return;
        const auto clamp = [](long long v, int last) {
            return int(v < 0 ? 0 : (v > last ? last : v));
        };
        const uint8_t* r = row(clamp(y, height_ - 1));
        const uint8_t* end = r + ptrdiff_t(clamp(x1, width_ - 1)) * ptrdiff_t(step_) + step_ - 1;
        for (const uint8_t* p = r + ptrdiff_t(clamp(x0, width_ - 1)) * ptrdiff_t(step_); p <= end;
             p += 64)
            prefetchLine(p);
        prefetchLine(end);
    }

    // Rows.
    void buildRowTable() const;
    void freeRowTable();
    uint8_t* const* rowTable() const;
    // Computed rather than looked up, so a row address is right even when the
    // table could not be allocated.
    uint8_t* row(int y) const { return bits_ + ptrdiff_t(y) * ptrdiff_t(stride_); }
    uint8_t* pixelAddress(int x, int y) const { return row(y) + x * int(step_); }

    // Pixels.
    void getPixel(Pixel& out, int x, int y) const { out = pixelLayout().load(pixelAddress(x, y)); }
    Pixel getPixel(int x, int y) const { return pixelLayout().load(pixelAddress(x, y)); }
    void setPixel(int x, int y, const Pixel& p) { pixelLayout().store(pixelAddress(x, y), p); }
    void setPixelIfInside(int x, int y, const Pixel& p);
    // The channel byte (0..255), or -1 when index is 8 or more or the
    // channel is absent.
    int channel(int x, int y, int index) const;
    void setChannel(int x, int y, int index, uint8_t value);
    int clampX(int x) const;
    int clampY(int y) const;

    // Spans. Unsupported format pairs give false and write nothing.
    bool writeSpan(int x, int y, int count, const uint8_t* source, const int& sourceFormat);
    bool writeRow(int y, const uint8_t* source, int sourceFormat);
    bool readSpanRgb(int x, int y, int count, uint8_t* destination, int wantedFormat) const;
    bool blendSpan(int x, int y, int count, const Pixel* source);

    // Sampling; pixel (i, j) sits at the whole coordinate (i, j). The
    // interior case, where all four neighbours exist, is inline: the fields
    // sample a few dozen times per dab.
    void sampleBilinear(Pixel& out, const float& x, const float& y) const
    {
        int ix, iy;
        float fx, fy;
        bilinearCell(x, ix, fx);
        bilinearCell(y, iy, fy);
        if (ix >= 0 && ix < width_ - 1 && iy >= 0 && iy < height_ - 1 && bits_) {
            const PixelLayout layout = pixelLayout();
            const uint8_t* p0 = pixelAddress(ix, iy);
            const uint8_t wx = bilinearWeight(fx);
            const uint8_t wy = bilinearWeight(fy);
            out = layout.isBgr() ? mixCell<true>(layout, p0, wx, wy)
                                 : mixCell<false>(layout, p0, wx, wy);
            return;
        }
        sampleBilinearAtEdge(out, ix, iy, fx, fy);
    }
    void sampleChannelBilinear(uint8_t& out, float x, float y, int channelIndex) const;
    void sampleSmoothed(Pixel& out, float x, float y, float d) const;

    // ---- Rectangle operations (bodies in image/ImageRect.cpp) ----
    // Copies: this image is the destination; rows go through writeSpan, so
    // only format pairs that writeSpan accepts are copied.
    void copyRegion(const Image& source, int dx, int dy, int sx, int sy, int width, int height);
    void copyOffset(const Image& source, int dx, int dy, int sx, int sy);
    void copyAt(const Image& source, int dx, int dy);
    void copyFrom(const Image& source);
    void copyRectAt(const Image& source, const Point& destination, const Rect& sourceRect);
    // Blends a format 6 source by its alpha over (x, y)-(right, bottom),
    // clipped to both images; other source formats change nothing.
    void blendImageRect(const Image& source, int x, int y, int right, int bottom);
    void blendImageAt(const Image& source, int x, int y);
    // Formats 4 to 7 only; others are left unchanged.
    void fillRect(const Pixel& colour, const Rect& rect);
    void fill(const Pixel& colour);
    void fillFrom(PixelGenerator& generator);
    void replaceMaskedColor(const Pixel& key, const Pixel& replacement, uint32_t mask);
    // Apply and composite: this image is the source, the region is clipped
    // to both images.
    void applyRegion(Image& destination, int dx, int dy, int sx, int sy, int width, int height,
                     PixelGenerator& generator) const;
    void apply(Image& destination, PixelGenerator& generator) const;
    void compositeRegion(Image& destination, int dx, int dy, int sx, int sy, int width,
                         int height, PixelCompositor& compositor) const;
    void composite(Image& destination, PixelCompositor& compositor) const;
    void compositeSameRect(Image& destination, const Rect& rect, PixelCompositor& compositor) const;
    void compositeOntoWith(Image& destination, const Point& destinationPoint,
                           const Rect& sourceRect, PixelCompositor& compositor) const;
    void compositeWith(Image& destination, int dx, int dy, int sx, int sy, int width, int height,
                       PixelCombineFunction fn) const;
    void compositeOnto(Image& destination, PixelCombineFunction fn) const;
    void compositeAt(Image& destination, const Point& point, PixelCombineFunction fn) const;
    void compositeRectOnto(Image& destination, const Point& point, const Rect& sourceRect,
                           PixelCombineFunction fn) const;
    // Creates the destination at this size (format 0: this image's format),
    // then applies the generator (the image's own pixels when null). False
    // when the destination cannot be created.
    bool renderInto(Image& destination, PixelGenerator* generator = nullptr, int format = 0) const;
    // Resampling: this image is the destination.
    void scaleFrom(const Image& source);
    void scalePixelsFrom(const Image& source);
    void copyWhole(const Image& source);
    void renderAffine(const Image& source, const Rect& rect, float sx, float sy,
                      const Vec2& stepX, const Vec2& stepY);
    void blendSpanFrom(int x, int y, int count, const PixelSource& source, float sx, float sy,
                       const Vec2& step);
    // ---- End of rectangle operations ----

protected:
    // The four pixels from p0 on mixed by the weights.
    template <bool Bgr>
    Pixel mixCell(const PixelLayout& layout, const uint8_t* p0, uint8_t wx, uint8_t wy) const
    {
        const uint8_t* p1 = p0 + ptrdiff_t(stride_);
        const int next = Bgr ? 3 : int(step_);
        const Pixel top = mixPixels(layout.loadAs<Bgr>(p0), layout.loadAs<Bgr>(p0 + next), wx);
        const Pixel bottom = mixPixels(layout.loadAs<Bgr>(p1), layout.loadAs<Bgr>(p1 + next), wx);
        return mixPixels(top, bottom, wy);
    }
    // sampleBilinear where a neighbour is missing (or no pixels at all).
    void sampleBilinearAtEdge(Pixel& out, int ix, int iy, float fx, float fy) const;

    int width_;
    int height_;
    uint32_t step_;
    int format_;
    uint32_t stride_;
    uint8_t* bits_;
    mutable uint8_t** rows_;
    uint8_t layout_[kChannelLayoutSize];
    Pixel border_;
    uint8_t clamp_;
};
