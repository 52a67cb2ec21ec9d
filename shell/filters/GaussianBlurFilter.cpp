#include "shell/filters/GaussianBlurFilter.h"

#include "foundation/PropertyReader.h"

static float limitedRadius(float r)
{
    return r > 64.0f ? 63.0f : r;
}

GaussianBlurFilter::GaussianBlurFilter(const PropertyReader& parameters)
{
    const float radius = parameters.getFloat("radius", 2.0f);
    xRadius_ = limitedRadius(parameters.getFloat("xradius", radius));
    yRadius_ = limitedRadius(parameters.getFloat("yradius", radius));
}

GaussianBlurFilter::GaussianBlurFilter(float xRadius, float yRadius)
    : xRadius_(limitedRadius(xRadius)), yRadius_(limitedRadius(yRadius))
{
}

int GaussianBlurFilter::kernelX(uint16_t* weights)
{
    return buildGaussianKernel(xRadius_, xRadius_ * 0.5f, weights, 4096.0);
}

int GaussianBlurFilter::kernelY(uint16_t* weights)
{
    return buildGaussianKernel(yRadius_, yRadius_ * 0.5f, weights, 4096.0);
}
