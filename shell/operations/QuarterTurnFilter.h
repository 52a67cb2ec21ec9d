#pragma once

#include "shell/filters/ImageFilter.h"

// Rotation by 90 degrees into a destination of swapped width and height.
class QuarterTurnFilter : public ImageFilter
{
public:
    explicit QuarterTurnFilter(bool clockwise) : ImageFilter(false), clockwise_(clockwise) {}
    // Creates the destination with the source's height as width, its width
    // as height and its format.
    bool prepareDestination(const Image& source, Image& destination) override;
    bool apply(const Image& source, Image& destination, RenderCallbacks& callbacks) override;

private:
    bool clockwise_;
};
