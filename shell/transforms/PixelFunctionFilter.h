#pragma once

#include <memory>

#include "shell/filters/ImageFilter.h"
#include "shell/transforms/PixelFunction.h"

// Runs a pixel function over the source into the destination.
class PixelFunctionFilter : public ImageFilter
{
public:
    // A null function makes every apply fail.
    explicit PixelFunctionFilter(std::unique_ptr<PixelFunction> function);
    bool apply(const Image& source, Image& destination, RenderCallbacks& callbacks) override;

private:
    std::unique_ptr<PixelFunction> function_;
};
