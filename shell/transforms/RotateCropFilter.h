#pragma once

#include "shell/filters/ImageFilter.h"

class PropertyReader;

// Cuts a rotated rectangle out of an image: its size as fractions of the
// source (measured along the turned axes), its centre as fractions of the
// source size, and the angle. Parts outside the source come out empty.
class RotateCropFilter : public ImageFilter
{
public:
    // "width", "height", "xcenter", "ycenter" (0.5 each) and "rotate" in degrees.
    explicit RotateCropFilter(const PropertyReader& parameters);
    RotateCropFilter(float widthFraction, float heightFraction, float centreX, float centreY,
                     float radians);

    // The size depends on the angle: apply creates the destination.
    bool prepareDestination(const Image& source, Image& destination) override;
    bool apply(const Image& source, Image& destination, RenderCallbacks& sink) override;

private:
    float widthFraction_;
    float heightFraction_;
    float centreX_;
    float centreY_;
    float angle_;
};
