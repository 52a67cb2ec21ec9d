#pragma once

#include "shell/filters/ImageFilter.h"

// The second half of an unsharp mask: destination (holding the blurred
// image) becomes source + (factor - 1) x (source - blurred), clamped.
class UnsharpCombineFilter : public ImageFilter
{
public:
    explicit UnsharpCombineFilter(float factor);
    // False unless both images have the same size and pixel step, or when
    // the callbacks stop the run. Progress after every row.
    bool apply(const Image& source, Image& destination, RenderCallbacks& callbacks) override;

private:
    float factor_;
};
