#pragma once

#include <climits>

#include "engine/Canvas.h"
#include "engine/Component.h"
#include "image/Image.h"
#include "image/Pixel.h"

#include "foundation/Numeric.h"
#include "foundation/Vec2.h"

// The component that lays one dab per stroke step onto the canvas target.
// Positions are canvas-area coordinates; the pixel offset is added before
// the target is addressed.
class Brush : public Component {
public:
    Brush(const ParamDescriptor* table, const char* id, const char* displayName);
    ~Brush() override;

    // One dab at stroke fraction t; false when a Paint-If condition refused it.
    virtual bool dab(const Vec2& position, const Vec2& direction, float t) = 0;
    // Typical area of one dab in pixels.
    virtual float meanSize() const;
    // Typical dab radius in pixels.
    virtual float meanRadius() const = 0;
    // Factor a stroke applies to its step distance.
    virtual float spacingScale() const = 0;
    // Size factor at stroke fraction t.
    virtual float sizeAt(float t) const = 0;
    // Reads the parameters before a render; steps is the longest stroke.
    virtual void prepare(int steps);

    // The target pixel at (x, y) clamped into the image (a target without
    // pixels reads as 0).
    Pixel readTargetClamped(int x, int y) const
    {
        const Image* image = paintTarget();
        return image ? readClamped(*image, x, y) : Pixel::fromWord(0);
    }
    // Writes at (x, y) plus the pixel offset; outside the target nothing.
    void writeTarget(int x, int y, const Pixel& pixel)
    {
        if (Image* image = paintTarget())
            writeAt(*image, x, y, pixel);
    }

    // Asks the cache for the target row around a dab that is a few steps
    // away. A stroke step reads a new target row, a whole row stride (one
    // 4 KB page or more) from the last, and the wait for it was most of a
    // step at large sizes. Only a hint: it reads and changes nothing.
    void prefetchAround(const Vec2& position) const;
    // Told where the next stroke starts while the current one is still to
    // paint: the rows around that point by default. A brush whose first dab
    // reads many rows asks for them here or over the dabs in between. True
    // when the stroke should fetch nothing more for the start beyond what
    // its draw reads: the brush's own rows reach far enough along the first
    // steps, and more page walks in one burst cost more than they save.
    virtual bool prefetchStart(const Vec2& position)
    {
        prefetchAround(position);
        return false;
    }
    // Whether the target is too large for the caches, so fetching ahead pays.
    bool targetOutgrowsCache() const
    {
        const Image* image = paintTarget();
        return image && image->outgrowsCache();
    }

protected:
    // The canvas target, or null when there is none to paint (no canvas yet,
    // or an image without pixels).
    Image* paintTarget() const
    {
        if (!canvas || !canvas->target || canvas->target->isEmpty())
            return nullptr;
        return canvas->target;
    }

    // The two above for a dab that has fetched paintTarget() once; inline,
    // as every dab calls them a few times.
    static Pixel readClamped(const Image& image, int x, int y)
    {
        const int w = image.width();
        const int h = image.height();
        x = x >= w ? w - 1 : x;
        y = y >= h ? h - 1 : y;
        return image.getPixel(x < 0 ? 0 : x, y < 0 ? 0 : y);
    }
    void writeAt(Image& image, int x, int y, const Pixel& pixel) const
    {
        const long long px = static_cast<long long>(x) + pixelOffset.x;
        const long long py = static_cast<long long>(y) + pixelOffset.y;
        if (px < 0 || py < 0 || px >= image.width() || py >= image.height())
            return;
        image.setPixel(static_cast<int>(px), static_cast<int>(py), pixel);
    }

    // a + b without wrapping: stroke positions far away saturate.
    static int addSaturated(int a, int b)
    {
        return saturateToInt(static_cast<long long>(a) + b);
    }
};

inline void Brush::prefetchAround(const Vec2& position) const
{
    const Image* image = paintTarget();
    // Far or NaN positions: nothing worth fetching, and no int overflow.
    if (!image || !position.within(1.0e6f))
        return;
    const int w = image->width();
    const int h = image->height();
    int y = static_cast<int>(position.y) + pixelOffset.y;
    y = y < 0 ? 0 : (y >= h ? h - 1 : y);
    // A pixel either side: a dab may touch the neighbour across a line end.
    const int x = static_cast<int>(position.x) + pixelOffset.x;
    const int left = x - 1 < 0 ? 0 : (x - 1 >= w ? w - 1 : x - 1);
    const int right = x + 1 < 0 ? 0 : (x + 1 >= w ? w - 1 : x + 1);
    prefetchLine(image->pixelAddress(left, y));
    prefetchLine(image->pixelAddress(right, y));
}
