#pragma once

#include "shell/filters/GaussianBlurFilter.h"

class PropertyReader;

// Sharpens by the difference from a Gaussian blur: source + amount x
// (source - blurred). No threshold.
class UnsharpMaskFilter : public GaussianBlurFilter
{
public:
    // The Gaussian parameters and "amount" (0.5).
    explicit UnsharpMaskFilter(const PropertyReader& parameters);
    UnsharpMaskFilter(float radius, float amount);

    // Blurs the source into the destination, then combines; progress runs
    // from 0 to 1 once for each.
    bool apply(const Image& source, Image& destination, RenderCallbacks& callbacks) override;

private:
    float factor_;
};
