#include "shell/filters/ConvolutionFilter.h"

#include <cmath>

#include "foundation/Numeric.h"

int buildGaussianKernel(float radius, float sigma, uint16_t* weights, double scale)
{
    double r = std::fabs(double(radius));
    if (!(r <= 64.0))
        r = 64.0;
    const int reach = roundToInt(r);
    const double s2 = double(sigma) * double(sigma);
    int length = 0;
    for (int x = reach; x >= -reach && length < kMaxKernelLength; --x) {
        // A sigma of 0 gives 0/0 at the centre: NaN rounds to 0 and is left out.
        const int w = roundToInt(scale * std::exp(-double(x) * double(x) / s2));
        if (w <= 0) {
            if (length > 0)
                break;
            continue;
        }
        weights[length++] = uint16_t(w > 65535 ? 65535 : w);
    }
    return length;
}

bool ConvolutionFilter::apply(const Image& source, Image& destination, RenderCallbacks& callbacks)
{
    uint16_t wx[kMaxKernelLength];
    uint16_t wy[kMaxKernelLength];
    const int nx = kernelX(wx);
    const int ny = kernelY(wy);
    return separableConvolve(source, destination, wx, nx, wy, ny, callbacks);
}
