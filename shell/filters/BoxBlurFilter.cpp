#include "shell/filters/BoxBlurFilter.h"

#include "foundation/Numeric.h"
#include "foundation/PropertyReader.h"

static unsigned limitedRadius(unsigned r)
{
    return r > 63u ? 63u : r;
}

static int boxKernel(unsigned radius, uint16_t* weights)
{
    const int length = int(2 * radius + 1);
    for (int k = 0; k < length; ++k)
        weights[k] = 1;
    return length;
}

BoxBlurFilter::BoxBlurFilter(const PropertyReader& parameters)
{
    const int radius = truncToInt(parameters.getFloat("radius", 2.0f));
    xRadius_ = limitedRadius(unsigned(parameters.getInt("xradius", radius)));
    yRadius_ = limitedRadius(unsigned(parameters.getInt("yradius", radius)));
}

BoxBlurFilter::BoxBlurFilter(unsigned xRadius, unsigned yRadius)
    : xRadius_(limitedRadius(xRadius)), yRadius_(limitedRadius(yRadius))
{
}

int BoxBlurFilter::kernelX(uint16_t* weights)
{
    return boxKernel(xRadius_, weights);
}

int BoxBlurFilter::kernelY(uint16_t* weights)
{
    return boxKernel(yRadius_, weights);
}
