#include "shell/transforms/AreaSample.h"

#include <cstring>

#include "foundation/Numeric.h"
#include "image/Image.h"

void areaSample(const Image& image, float cx, float cy, float halfWidth, float halfHeight,
                uint8_t* out, AreaDivide divide)
{
    const int step = int(image.step());
    const float left = cx - halfWidth;
    const float right = cx + halfWidth;
    const float top = cy - halfHeight;
    const float bottom = cy + halfHeight;
    const int x0 = roundToInt(left - 0.5f);
    const int x1 = roundToInt(right - 0.5f);
    const int y0 = roundToInt(top - 0.5f);
    const int y1 = roundToInt(bottom - 0.5f);
    if (x0 == x1 && y0 == y1) {
        if (x0 >= 0 && x0 < image.width() && y0 >= 0 && y0 < image.height())
            std::memcpy(out, image.pixelAddress(x0, y0), size_t(step));
        else
            std::memset(out, 0, size_t(step));
        return;
    }
    // Pixels outside the image add nothing, so the walk stays inside it: a
    // huge rectangle costs no more than the image.
    const int xa = x0 > 0 ? x0 : 0;
    const int xb = x1 < image.width() - 1 ? x1 : image.width() - 1;
    const int ya = y0 > 0 ? y0 : 0;
    const int yb = y1 < image.height() - 1 ? y1 : image.height() - 1;
    float sums[kMaxSampleStep] = {};
    float covered = 0.0f;
    for (int y = ya; y <= yb; ++y)
        for (int x = xa; x <= xb; ++x) {
            const float w = pixelCoverage(x, y, left, right, top, bottom);
            if (w > 0.0f) {
                const uint8_t* p = image.pixelAddress(x, y);
                for (int c = 0; c < step; ++c)
                    sums[c] += float(p[c]) * w;
                covered += w;
            }
        }
    const float area = divide == AreaDivide::Covered ? covered : 4.0f * halfWidth * halfHeight;
    for (int c = 0; c < step; ++c)
        out[c] = area > 0.0f ? uint8_t(clampInt(roundToInt(sums[c] / area), 0, 255)) : 0;
}
