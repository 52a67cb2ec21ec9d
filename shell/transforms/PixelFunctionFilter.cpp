#include "shell/transforms/PixelFunctionFilter.h"

PixelFunctionFilter::PixelFunctionFilter(std::unique_ptr<PixelFunction> function)
    : ImageFilter(false), function_(std::move(function))
{
}

bool PixelFunctionFilter::apply(const Image& source, Image& destination,
                                RenderCallbacks& callbacks)
{
    return function_ && runPixelFunction(*function_, source, destination, callbacks);
}
