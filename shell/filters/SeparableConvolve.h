#pragma once

#include <cstdint>

class Image;
class RenderCallbacks;

// Longest kernel of a separable convolution.
const int kMaxKernelLength = 128;

// Convolves the source into the destination with a horizontal and a vertical
// kernel of 16-bit weights: tap k of a kernel of length n reads the pixel at
// offset k - n/2, clamped to the image, every byte of the pixel alike; each
// pass's sums are divided by the sum of its weights and truncated. Progress
// after every eighth row. False when the images are empty or differ in size
// or pixel step, a kernel is empty or longer than kMaxKernelLength, or the
// callbacks stop the run; raises FrameworkMemoryException when its scratch
// rows cannot be allocated.
bool separableConvolve(const Image& source, Image& destination, const uint16_t* weightsX,
                       int lengthX, const uint16_t* weightsY, int lengthY,
                       RenderCallbacks& callbacks);

// Divides sums of at most 255 times the divisor exactly by one multiplication
// and a shift (the divisor below 2^23).
class ExactDivider
{
public:
    explicit ExactDivider(uint32_t divisor);
    uint32_t operator()(uint32_t n) const { return uint32_t((uint64_t(n) * multiplier_) >> shift_); }
    uint32_t multiplier() const { return multiplier_; }
    int shift() const { return shift_; }

private:
    uint32_t multiplier_;
    int shift_;
};
