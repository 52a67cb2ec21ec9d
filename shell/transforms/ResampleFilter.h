#pragma once

#include "shell/filters/ImageFilter.h"

class PropertyReader;

// Scales an image to a target size by area sampling; the smoothing widens
// the sample area (0: nearest pixel, 1: about two source steps).
class ResampleFilter : public ImageFilter
{
public:
    // "width", "height" (integers, 0) and "smooth" (float, 1.0, kept in 0..4).
    explicit ResampleFilter(const PropertyReader& parameters);
    ResampleFilter(int width, int height, float smoothing);

    bool prepareDestination(const Image& source, Image& destination) override;
    bool apply(const Image& source, Image& destination, RenderCallbacks& sink) override;

    int targetWidth() const { return width_; }
    float smoothing() const { return smoothing_; }

private:
    int width_;
    int height_;
    float smoothing_;
};
