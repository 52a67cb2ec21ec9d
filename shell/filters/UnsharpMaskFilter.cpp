#include "shell/filters/UnsharpMaskFilter.h"

#include "foundation/PropertyReader.h"
#include "shell/filters/UnsharpCombineFilter.h"

UnsharpMaskFilter::UnsharpMaskFilter(const PropertyReader& parameters)
    : GaussianBlurFilter(parameters), factor_(parameters.getFloat("amount", 0.5f) + 1.0f)
{
}

UnsharpMaskFilter::UnsharpMaskFilter(float radius, float amount)
    : GaussianBlurFilter(radius, radius), factor_(amount + 1.0f)
{
}

bool UnsharpMaskFilter::apply(const Image& source, Image& destination, RenderCallbacks& callbacks)
{
    if (!ConvolutionFilter::apply(source, destination, callbacks))
        return false;
    UnsharpCombineFilter combine(factor_);
    return combine.apply(source, destination, callbacks);
}
