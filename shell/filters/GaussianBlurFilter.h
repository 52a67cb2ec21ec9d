#pragma once

#include "shell/filters/ConvolutionFilter.h"

class PropertyReader;

// Gaussian blur with sigma = radius / 2 and a centre weight of 4096.
class GaussianBlurFilter : public ConvolutionFilter
{
public:
    // "radius" (2.0), optional "xradius" and "yradius"; above 64 becomes 63.
    explicit GaussianBlurFilter(const PropertyReader& parameters);
    GaussianBlurFilter(float xRadius, float yRadius);

    int kernelX(uint16_t* weights) override;
    int kernelY(uint16_t* weights) override;

    float xRadius() const { return xRadius_; }
    float yRadius() const { return yRadius_; }

protected:
    float xRadius_;
    float yRadius_;
};
