#pragma once

#include "engine/Component.h"
#include "engine/brushes/ValuePair.h"
#include "image/Pixel.h"

class Image;
class Vec2;

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
    Pixel readTargetClamped(int x, int y) const;
    // Writes at (x, y) plus the pixel offset; outside the target nothing.
    void writeTarget(int x, int y, const Pixel& pixel);

protected:
    // The canvas target, or null when there is none to paint (no canvas yet,
    // or an image without pixels).
    Image* paintTarget() const;

    ValuePair valuePair(const char* id) const;
    // The function a registry choice selects; the fallback when the id names
    // no registry choice.
    template <class Fn>
    Fn choice(const char* id, Fn fallback) const
    {
        const Fn fn = findParameter(id).selectedFunctionAs<Fn>();
        return fn ? fn : fallback;
    }

    // a + b without wrapping: stroke positions far away saturate.
    static int addSaturated(int a, int b);
};
