#include "image/Image.h"

#include <cstring>
#include <new>

#include "foundation/Numeric.h"

namespace {

inline bool absent(uint8_t offset)
{
    return offset >= 0x80;
}

inline uint8_t average(uint8_t a, uint8_t b)
{
    return uint8_t((unsigned(a) + unsigned(b)) >> 1);
}

inline Pixel averagePixels(const Pixel& a, const Pixel& b)
{
    return Pixel(average(a.r, b.r), average(a.g, b.g), average(a.b, b.b), average(a.a, b.a));
}

// Samples count points from (x, y) on, advancing by repeated addition.
template <typename SampleAt>
void sampleAlong(float x, float y, float dx, float dy, int count, Pixel*& cursor, SampleAt sampleAt)
{
    for (int i = 0; i < count; ++i) {
        sampleAt(*cursor, x, y);
        ++cursor;
        x += dx;
        y += dy;
    }
}

} // namespace

// PixelSource

PixelSource::~PixelSource() {}

void PixelSource::sampleSpan(float x, float y, float dx, float dy, int count, Pixel*& cursor) const
{
    sampleAlong(x, y, dx, dy, count, cursor,
                [this](Pixel& out, float px, float py) { sample(out, px, py); });
}

// AbstractImage

void AbstractImage::sample(Pixel& out, const float& x, const float& y) const
{
    int ix, iy;
    float fx, fy;
    bilinearCell(x, ix, fx);
    bilinearCell(y, iy, fy);
    const int ix1 = ix < INT_MAX ? ix + 1 : ix;
    const int iy1 = iy < INT_MAX ? iy + 1 : iy;
    Pixel p00, p10, p01, p11;
    getPixelAt(p00, ix, iy);
    getPixelAt(p10, ix1, iy);
    getPixelAt(p01, ix, iy1);
    getPixelAt(p11, ix1, iy1);
    const uint8_t wx = bilinearWeight(fx);
    out = mixPixels(mixPixels(p00, p10, wx), mixPixels(p01, p11, wx), bilinearWeight(fy));
}

void AbstractImage::copyRect(const AbstractImage& source, int x0, int y0, int x1, int y1)
{
    Pixel p;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            source.getPixelAt(p, x, y);
            setPixelChecked(x, y, p);
        }
    }
}

// Image: binding

Image::Image()
    : width_(0), height_(0), step_(0), format_(0), stride_(0), bits_(nullptr), rows_(nullptr),
      clamp_(0)
{
    std::memset(layout_, kChannelAbsent, sizeof layout_);
}

Image::Image(int width, int height, uint8_t* bits, uint32_t stride, int format)
    : width_(width), height_(height), step_(uint32_t(bytesPerPixelFor(format))), format_(format),
      stride_(stride), bits_(bits), rows_(nullptr), clamp_(0)
{
    setChannelLayout();
}

Image::~Image()
{
    freeRowTable();
}

void Image::attach(int width, int height, uint8_t* bits, uint32_t stride, int format)
{
    freeRowTable();
    width_ = width;
    height_ = height;
    format_ = format;
    step_ = uint32_t(bytesPerPixelFor(format));
    stride_ = stride;
    bits_ = bits;
    setChannelLayout();
    buildRowTable();
}

void Image::setChannelLayout()
{
    setChannelLayoutFrom(channelLayoutFor(format_));
}

int Image::setChannelLayoutFrom(const uint8_t* layout)
{
    std::memset(layout_, kChannelAbsent, sizeof layout_);
    int n = 0;
    if (layout) {
        while (n < kChannelLayoutSize && layout[n] != 0xFF) {
            layout_[n] = layout[n];
            ++n;
        }
    }
    return n;
}

// Image: rows

void Image::buildRowTable() const
{
    if (rows_ || height_ <= 0 || !bits_)
        return;
    rows_ = new (std::nothrow) uint8_t*[size_t(height_)];
    if (!rows_)
        return;
    for (int y = 0; y < height_; ++y)
        rows_[y] = bits_ + ptrdiff_t(y) * ptrdiff_t(stride_);
}

void Image::freeRowTable()
{
    delete[] rows_;
    rows_ = nullptr;
}

uint8_t* const* Image::rowTable() const
{
    buildRowTable();
    return rows_;
}

// Image: pixels

void Image::setPixelIfInside(int x, int y, const Pixel& p)
{
    if (bits_ && x >= 0 && x < width_ && y >= 0 && y < height_)
        setPixel(x, y, p);
}

void Image::setPixelChecked(int x, int y, const Pixel& p)
{
    setPixelIfInside(x, y, p);
}

int Image::channel(int x, int y, int index) const
{
    if (index < 0 || index >= kChannelLayoutSize || absent(layout_[index]))
        return -1;
    return pixelAddress(x, y)[layout_[index]];
}

void Image::setChannel(int x, int y, int index, uint8_t value)
{
    if (index < 0 || index >= kChannelLayoutSize || absent(layout_[index]))
        return;
    pixelAddress(x, y)[layout_[index]] = value;
}

int Image::clampX(int x) const
{
    if (x >= width_)
        x = width_ - 1;
    return x < 0 ? 0 : x;
}

int Image::clampY(int y) const
{
    if (y >= height_)
        y = height_ - 1;
    return y < 0 ? 0 : y;
}

void Image::getPixelAt(Pixel& out, const int& x, const int& y) const
{
    if (isEmpty()) {
        out = border_;
        return;
    }
    if (clamp_) {
        getPixel(out, clampX(x), clampY(y));
        return;
    }
    if (x < 0 || x >= width_ || y < 0 || y >= height_) {
        out = border_;
        return;
    }
    getPixel(out, x, y);
}

void Image::blendPixel(int x, int y, const Pixel& p)
{
    if (p.a == 0 || !bits_ || x < 0 || x >= width_ || y < 0 || y >= height_)
        return;
    Pixel old;
    getPixel(old, x, y);
    Pixel mixed = mixPixels(old, p, p.a);
    mixed.a = old.a > p.a ? old.a : p.a;
    setPixel(x, y, mixed);
}

// Image: spans. Spans that leave the image are refused like unsupported
// format pairs: nothing is written outside the pixel memory.

bool Image::writeSpan(int x, int y, int count, const uint8_t* source, const int& sourceFormat)
{
    if (!bits_ || !source || count < 0 || x < 0 || y < 0 || y >= height_
        || (long long)x + count > width_)
        return false;
    uint8_t* d = pixelAddress(x, y);
    if (sourceFormat == format_) {
        std::memcpy(d, source, size_t(count) * step_);
        return true;
    }
    if (sourceFormat != kFormatRgb)
        return false;
    if (format_ == kFormatBgr) {
        for (int i = 0; i < count; ++i, d += 3, source += 3) {
            d[0] = source[2];
            d[1] = source[1];
            d[2] = source[0];
        }
        return true;
    }
    if (format_ == kFormatBgra) {
        for (int i = 0; i < count; ++i, d += 4, source += 3) {
            d[0] = source[2];
            d[1] = source[1];
            d[2] = source[0];
            d[3] = 255;
        }
        return true;
    }
    return false;
}

bool Image::writeRow(int y, const uint8_t* source, int sourceFormat)
{
    return writeSpan(0, y, width_, source, sourceFormat);
}

bool Image::readSpanRgb(int x, int y, int count, uint8_t* destination, int wantedFormat) const
{
    if (wantedFormat != kFormatRgb || (format_ != kFormatBgr && format_ != kFormatBgra))
        return false;
    if (!bits_ || !destination || count < 0 || x < 0 || y < 0 || y >= height_
        || (long long)x + count > width_)
        return false;
    const uint8_t* s = pixelAddress(x, y);
    for (int i = 0; i < count; ++i, s += step_, destination += 3) {
        destination[0] = s[2];
        destination[1] = s[1];
        destination[2] = s[0];
    }
    return true;
}

bool Image::blendSpan(int x, int y, int count, const Pixel* source)
{
    if (format_ != kFormatBgra && format_ != kFormatBgr)
        return false;
    if (!bits_ || !source || count < 0 || x < 0 || y < 0 || y >= height_
        || (long long)x + count > width_)
        return false;
    uint8_t* d = pixelAddress(x, y);
    if (format_ == kFormatBgra) {
        for (int i = 0; i < count; ++i, d += 4) {
            Pixel old;
            std::memcpy(&old, d, 4);
            const Pixel mixed = mixPixels(old, source[i], source[i].a);
            std::memcpy(d, &mixed, 4);
        }
    } else {
        for (int i = 0; i < count; ++i, d += 3) {
            const Pixel old(d[2], d[1], d[0], 255);
            const Pixel mixed = mixPixels(old, source[i], source[i].a);
            d[0] = mixed.b;
            d[1] = mixed.g;
            d[2] = mixed.r;
        }
    }
    return true;
}

// Image: sampling

void Image::sample(Pixel& out, const float& x, const float& y) const
{
    sampleBilinear(out, x, y);
}

void Image::sampleSpan(float x, float y, float dx, float dy, int count, Pixel*& cursor) const
{
    sampleAlong(x, y, dx, dy, count, cursor,
                [this](Pixel& out, float px, float py) { sampleBilinear(out, px, py); });
}

void Image::sampleBilinearAtEdge(Pixel& out, int ix, int iy, float fx, float fy) const
{
    if (isEmpty() || ix < -1 || iy < -1 || ix >= width_ || iy >= height_) {
        out = Pixel();
        return;
    }
    const uint8_t wx = bilinearWeight(fx);
    const uint8_t wy = bilinearWeight(fy);
    const int lastX = width_ - 1;
    const int lastY = height_ - 1;
    if (ix == -1 && iy == -1) {
        getPixel(out, 0, 0);
    } else if (ix == -1) {
        if (iy == lastY)
            getPixel(out, 0, iy);
        else
            out = mixPixels(getPixel(0, iy), getPixel(0, iy + 1), wy);
    } else if (iy == -1) {
        if (ix == lastX)
            getPixel(out, ix, 0);
        else
            out = mixPixels(getPixel(ix, 0), getPixel(ix + 1, 0), wx);
    } else if (ix == lastX) {
        if (iy == lastY)
            getPixel(out, ix, iy);
        else
            out = mixPixels(getPixel(ix, iy), getPixel(ix, iy + 1), wy);
    } else if (iy == lastY) {
        out = mixPixels(getPixel(ix, iy), getPixel(ix + 1, iy), wx);
    } else {
        const Pixel top = mixPixels(getPixel(ix, iy), getPixel(ix + 1, iy), wx);
        const Pixel bottom = mixPixels(getPixel(ix, iy + 1), getPixel(ix + 1, iy + 1), wx);
        out = mixPixels(top, bottom, wy);
    }
}

void Image::sampleChannelBilinear(uint8_t& out, float x, float y, int channelIndex) const
{
    out = uint8_t(channelSampler(channelIndex).at(x, y));
}

void Image::sampleSmoothed(Pixel& out, float x, float y, float d) const
{
    const int ix = roundToInt(x - 0.5f);
    const int iy = roundToInt(y - 0.5f);
    if (isEmpty() || ix < 0 || ix >= width_ || iy < 0 || iy >= height_) {
        out = Pixel();
        return;
    }
    Pixel c, n, e, s, w;
    sampleBilinear(c, x, y);
    sampleBilinear(n, x, y + d);
    sampleBilinear(e, x + d, y);
    sampleBilinear(s, x, y - d);
    sampleBilinear(w, x - d, y);
    out = averagePixels(c, averagePixels(averagePixels(s, n), averagePixels(w, e)));
}

// Image: float-driven copies

void Image::copyFromSource(int x, int y, int count, const PixelSource& source, int /*ignored*/,
                           float sx, float sy, const Vec2& step)
{
    if (x < 0) {
        const long long skipped = -(long long)x;
        count = int(count - skipped < INT_MIN ? INT_MIN : count - skipped);
        const Vec2 advance = step * float(skipped);
        sx += advance.x;
        sy += advance.y;
        x = 0;
    }
    if (count > width_ - x)
        count = width_ - x;
    if (count <= 0 || y < 0 || y >= height_ || !bits_)
        return;
    Pixel p;
    for (int i = 0; i < count; ++i) {
        source.sample(p, sx, sy);
        blendPixel(x, y, p);
        ++x;
        sx += step.x;
        sy += step.y;
    }
}

void Image::renderScaled(const PixelSource& source, int x0, int y0, int x1, int y1,
                         float sx0, float sy0, float sx1, float sy1)
{
    if (x1 <= x0 || y1 <= y0 || isEmpty())
        return;
    const float dx = (sx1 - sx0) / float((long long)x1 - x0);
    const float dy = (sy1 - sy0) / float((long long)y1 - y0);
    // Positions advance by repeated addition, as the sampled results depend
    // on it; rows and columns outside the image are stepped over unsampled.
    float sy = sy0;
    Pixel p;
    for (int y = y0; y < y1; ++y, sy += dy) {
        if (y < 0 || y >= height_)
            continue;
        float sx = sx0;
        for (int x = x0; x < x1 && x < width_; ++x, sx += dx) {
            if (x < 0)
                continue;
            source.sample(p, sx, sy);
            blendPixel(x, y, p);
        }
        if (y == height_ - 1)
            break;
    }
}

void Image::copyRect(const AbstractImage& source, int x0, int y0, int x1, int y1)
{
    if (isEmpty())
        return;
    if (x0 < 0)
        x0 = 0;
    if (y0 < 0)
        y0 = 0;
    if (x1 > width_)
        x1 = width_;
    if (y1 > height_)
        y1 = height_;
    Pixel p;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            source.getPixelAt(p, x, y);
            setPixel(x, y, p);
        }
    }
}

void Image::copyPixels(const Image& source, int x0, int y0, int x1, int y1)
{
    // Clipped to both images: the source read is unchecked.
    if (isEmpty() || source.isEmpty())
        return;
    if (x0 < 0)
        x0 = 0;
    if (y0 < 0)
        y0 = 0;
    if (x1 > width_)
        x1 = width_;
    if (x1 > source.width_)
        x1 = source.width_;
    if (y1 > height_)
        y1 = height_;
    if (y1 > source.height_)
        y1 = source.height_;
    Pixel p;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            source.getPixel(p, x, y);
            setPixel(x, y, p);
        }
    }
}

bool Image::createWithDepth(int, int, int)
{
    return false;
}

bool Image::create(int, int, int)
{
    return false;
}
