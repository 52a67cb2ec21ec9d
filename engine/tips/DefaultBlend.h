#pragma once

#include <cstdint>

// The stamps' default kernel (blendScl) written out, so that their fast
// paths need no call per channel: d steps toward s by w / 256, rounded. The
// shift of a negative step is arithmetic, as in every kernel.
inline uint8_t defaultBlend(int s, int w, int d)
{
    return static_cast<uint8_t>(d + (((s - d) * w + 127) >> 8));
}
