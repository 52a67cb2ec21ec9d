#pragma once

#include <climits>

#include "engine/Canvas.h"
#include "engine/Component.h"
#include "engine/RowPrefetcher.h"
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

    // The brush's prefetcher, bound to its target as it is now.
    RowPrefetcher& prefetcher()
    {
        prefetcher_.bind(paintTarget(), pixelOffset);
        return prefetcher_;
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

private:
    RowPrefetcher prefetcher_;
};
