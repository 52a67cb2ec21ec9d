#pragma once

#include "shell/filters/ConvolutionFilter.h"

class PropertyReader;

// Mean over 2 x radius + 1 pixels along each axis.
class BoxBlurFilter : public ConvolutionFilter
{
public:
    // "radius" (2.0, truncated), optional "xradius" and "yradius"; each at
    // most 63, a negative one included.
    explicit BoxBlurFilter(const PropertyReader& parameters);
    BoxBlurFilter(unsigned xRadius, unsigned yRadius);

    int kernelX(uint16_t* weights) override;
    int kernelY(uint16_t* weights) override;

private:
    unsigned xRadius_;
    unsigned yRadius_;
};
