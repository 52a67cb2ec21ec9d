#include "image/Image.h"

#include "foundation/Numeric.h"
#include "image/CopyRegion.h"
#include "image/MemoryBlock.h"
#include "image/PixelGenerator.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {


int widthOf(const Rect& r) { return saturateToInt(int64_t(r.right) - r.left); }
int heightOf(const Rect& r) { return saturateToInt(int64_t(r.bottom) - r.top); }

// Runs f(dx, dy, sx, sy) for every pixel of the clipped region, rows top to
// bottom.
template <class F>
void forEachClipped(const Image& destination, const Image& source, int dx, int dy, int sx, int sy,
                    int width, int height, F f)
{
    if (destination.isEmpty() || source.isEmpty())
        return;
    clipCopyRegion(destination, source, dx, dy, sx, sy, width, height);
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i)
            f(dx + i, dy + j, sx + i, sy + j);
}

}

// ---- Copies ----

void Image::copyRegion(const Image& source, int dx, int dy, int sx, int sy, int width, int height)
{
    if (isEmpty() || source.isEmpty())
        return;
    clipCopyRegion(*this, source, dx, dy, sx, sy, width, height);
    for (int j = 0; j < height; ++j)
        writeSpan(dx, dy + j, width, source.pixelAddress(sx, sy + j), source.format());
}

void Image::copyOffset(const Image& source, int dx, int dy, int sx, int sy)
{
    copyRegion(source, dx, dy, sx, sy, source.width(), source.height());
}

void Image::copyAt(const Image& source, int dx, int dy)
{
    copyRegion(source, dx, dy, 0, 0, source.width(), source.height());
}

void Image::copyFrom(const Image& source)
{
    copyRegion(source, 0, 0, 0, 0, source.width(), source.height());
}

void Image::copyRectAt(const Image& source, const Point& destination, const Rect& sourceRect)
{
    copyRegion(source, destination.x, destination.y, sourceRect.left, sourceRect.top,
               widthOf(sourceRect), heightOf(sourceRect));
}

// ---- Blending a four-channel image ----

void Image::blendImageRect(const Image& source, int x, int y, int right, int bottom)
{
    if (source.format() != kFormatBgra || source.isEmpty() || isEmpty())
        return;
    int64_t left = x, top = y, sx = 0, sy = 0;
    if (left < 0) {
        sx = -left;
        left = 0;
    }
    if (top < 0) {
        sy = -top;
        top = 0;
    }
    int64_t count = std::min<int64_t>(std::min<int64_t>(right, width_), left + source.width() - sx) - left;
    int64_t rows = std::min<int64_t>(std::min<int64_t>(bottom, height_), top + source.height() - sy) - top;
    if (count <= 0 || rows <= 0)
        return;
    for (int64_t j = 0; j < rows; ++j) {
        const Pixel* from = reinterpret_cast<const Pixel*>(
            source.pixelAddress(int(sx), int(sy + j)));
        if (!blendSpan(int(left), int(top + j), int(count), from))
            return;
    }
}

void Image::blendImageAt(const Image& source, int x, int y)
{
    blendImageRect(source, x, y, saturateToInt(int64_t(x) + source.width()),
                   saturateToInt(int64_t(y) + source.height()));
}

// ---- Filling ----

void Image::fillRect(const Pixel& colour, const Rect& rect)
{
    if (format_ < kFormatBgr || format_ > kFormatRgba || isEmpty())
        return;
    Rect r = rect.intersected(bounds());
    int w = r.right - r.left;
    int h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return;
    uint8_t pattern[4];
    pattern[layout_[kChannelR]] = colour.r;
    pattern[layout_[kChannelG]] = colour.g;
    pattern[layout_[kChannelB]] = colour.b;
    if (step_ == 4)
        pattern[layout_[kChannelA]] = colour.a;
    MemoryBlock line;
    line.allocate(size_t(w) * step_);
    for (int i = 0; i < w; ++i)
        std::memcpy(line.data() + size_t(i) * step_, pattern, step_);
    for (int y = r.top; y < r.bottom; ++y)
        std::memcpy(pixelAddress(r.left, y), line.data(), line.size());
}

void Image::fill(const Pixel& colour)
{
    fillRect(colour, bounds());
}

void Image::fillFrom(PixelGenerator& generator)
{
    if (isEmpty())
        return;
    Pixel p;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            generator.pixel(p, *this, x, y);
            setPixel(x, y, p);
        }
}

void Image::replaceMaskedColor(const Pixel& key, const Pixel& replacement, uint32_t mask)
{
    if (isEmpty())
        return;
    const uint32_t wanted = key.word() & mask;
    const uint32_t put = replacement.word() & mask;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            uint32_t w = getPixel(x, y).word();
            if ((w & mask) == wanted)
                setPixel(x, y, Pixel::fromWord((w & ~mask) | put));
        }
}

// ---- Applying and compositing ----

void Image::applyRegion(Image& destination, int dx, int dy, int sx, int sy, int width, int height,
                        PixelGenerator& generator) const
{
    Pixel p;
    forEachClipped(destination, *this, dx, dy, sx, sy, width, height,
                   [&](int x, int y, int fromX, int fromY) {
                       generator.pixel(p, *this, fromX, fromY);
                       destination.setPixel(x, y, p);
                   });
}

void Image::apply(Image& destination, PixelGenerator& generator) const
{
    applyRegion(destination, 0, 0, 0, 0, width_, height_, generator);
}

void Image::compositeRegion(Image& destination, int dx, int dy, int sx, int sy, int width,
                            int height, PixelCompositor& compositor) const
{
    Pixel current, p;
    forEachClipped(destination, *this, dx, dy, sx, sy, width, height,
                   [&](int x, int y, int fromX, int fromY) {
                       destination.getPixel(current, x, y);
                       compositor.composite(p, *this, fromX, fromY, &current);
                       destination.setPixel(x, y, p);
                   });
}

void Image::composite(Image& destination, PixelCompositor& compositor) const
{
    compositeRegion(destination, 0, 0, 0, 0, width_, height_, compositor);
}

void Image::compositeSameRect(Image& destination, const Rect& rect, PixelCompositor& compositor) const
{
    compositeRegion(destination, rect.left, rect.top, rect.left, rect.top, widthOf(rect),
                    heightOf(rect), compositor);
}

void Image::compositeOntoWith(Image& destination, const Point& destinationPoint,
                              const Rect& sourceRect, PixelCompositor& compositor) const
{
    compositeRegion(destination, destinationPoint.x, destinationPoint.y, sourceRect.left,
                    sourceRect.top, widthOf(sourceRect), heightOf(sourceRect), compositor);
}

void Image::compositeWith(Image& destination, int dx, int dy, int sx, int sy, int width, int height,
                          PixelCombineFunction fn) const
{
    if (!fn)
        return;
    Pixel current, from;
    forEachClipped(destination, *this, dx, dy, sx, sy, width, height,
                   [&](int x, int y, int fromX, int fromY) {
                       getPixel(from, fromX, fromY);
                       destination.getPixel(current, x, y);
                       destination.setPixel(x, y, fn(from, current));
                   });
}

void Image::compositeOnto(Image& destination, PixelCombineFunction fn) const
{
    compositeWith(destination, 0, 0, 0, 0, width_, height_, fn);
}

void Image::compositeAt(Image& destination, const Point& point, PixelCombineFunction fn) const
{
    compositeWith(destination, point.x, point.y, 0, 0, width_, height_, fn);
}

void Image::compositeRectOnto(Image& destination, const Point& point, const Rect& sourceRect,
                              PixelCombineFunction fn) const
{
    compositeWith(destination, point.x, point.y, sourceRect.left, sourceRect.top,
                  widthOf(sourceRect), heightOf(sourceRect), fn);
}

bool Image::renderInto(Image& destination, PixelGenerator* generator, int format) const
{
    if (!destination.create(width_, height_, format ? format : format_))
        return false;
    if (generator) {
        apply(destination, *generator);
    } else {
        ImagePixelGenerator own;
        apply(destination, own);
    }
    return true;
}

// ---- Float-driven resampling (the virtual steps live in Image.cpp) ----

void Image::scaleFrom(const Image& source)
{
    if (source.width() == width_ && source.height() == height_)
        copyRect(source, 0, 0, width_, height_);
    else
        renderScaled(source, 0, 0, width_, height_, 0.0f, 0.0f, float(source.width() - 1),
                     float(source.height() - 1));
}

void Image::scalePixelsFrom(const Image& source)
{
    if (source.width() == width_ && source.height() == height_)
        copyPixels(source, 0, 0, width_, height_);
    else
        renderScaled(source, 0, 0, width_, height_, 0.0f, 0.0f, float(source.width() - 1),
                     float(source.height() - 1));
}

void Image::copyWhole(const Image& source)
{
    copyRect(source, 0, 0, width_, height_);
}

void Image::renderAffine(const Image& source, const Rect& rect, float sx, float sy,
                         const Vec2& stepX, const Vec2& stepY)
{
    if (isEmpty())
        return;
    int64_t left = rect.left, top = rect.top;
    int64_t right = std::min<int64_t>(rect.right, width_);
    int64_t bottom = std::min<int64_t>(rect.bottom, height_);
    Vec2 start(sx, sy);
    if (left < 0) {
        start = start + stepX * float(-left);
        left = 0;
    }
    if (top < 0) {
        start = start + stepY * float(-top);
        top = 0;
    }
    Pixel p;
    for (int64_t r = 0; top + r < bottom; ++r) {
        Vec2 pos = start + stepY * float(r);
        for (int64_t x = left; x < right; ++x) {
            int ix = truncToInt(pos.x);
            int iy = truncToInt(pos.y);
            source.getPixelAt(p, ix, iy);
            setPixel(int(x), int(top + r), p);
            pos = pos + stepX;
        }
    }
}

void Image::blendSpanFrom(int x, int y, int count, const PixelSource& source, float sx, float sy,
                          const Vec2& step)
{
    if (isEmpty() || y < 0 || y >= height_)
        return;
    Pixel s;
    for (int64_t i = 0; i < count; ++i, sx += step.x, sy += step.y) {
        int64_t px = int64_t(x) + i;
        if (px >= width_)
            break;
        if (px < 0)
            continue;
        source.sample(s, sx, sy);
        if (s.a == 0)
            continue;
        Pixel d;
        getPixel(d, int(px), y);
        setPixel(int(px), y, mixPixelsMaxAlpha(d, s, s.a));
    }
}
