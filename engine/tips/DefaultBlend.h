#pragma once

#include <cstdint>

#include "image/KernelArithmetic.h"

// The stamps' default kernel (blendScl) called inline, so that their fast
// paths need no call per channel: d steps toward s by w / 256, rounded.
inline uint8_t defaultBlend(int s, int w, int d)
{
    return static_cast<uint8_t>(kernel::lerpTo(s, d, w));
}
