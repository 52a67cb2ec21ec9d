#pragma once

#include <cstdint>

#include "shell/filters/ImageFilter.h"
#include "shell/filters/SeparableConvolve.h"

// Writes the weights scale * exp(-x^2 / sigma^2), rounded, for x from R down
// to -R (R = |radius| limited to 64 and rounded), leaving out the leading
// ones that round to 0 and stopping at the first later one or at
// kMaxKernelLength weights. Returns the length; 0 for an empty kernel (a
// radius or sigma of 0).
int buildGaussianKernel(float radius, float sigma, uint16_t* weights, double scale);

// A blur by two kernels of 16-bit weights; results truncated.
class ConvolutionFilter : public ImageFilter
{
public:
    ConvolutionFilter() : ImageFilter(true) {}
    // False when a kernel is empty (nothing to divide by) besides the cases
    // of separableConvolve.
    bool apply(const Image& source, Image& destination, RenderCallbacks& callbacks) override;
    // Write at most kMaxKernelLength weights and return the length.
    virtual int kernelX(uint16_t* weights) = 0;
    virtual int kernelY(uint16_t* weights) = 0;
};
