#include "engine/tips/PolygonTipShape.h"

#include <cmath>

#include "engine/tips/TipMask.h"
#include "engine/tips/ValueNoise.h"
#include "foundation/Angles.h"
#include "foundation/Numeric.h"

namespace {

double identityCurve(const float& x)
{
    return x;
}

} // namespace

PolygonTipShape::PolygonTipShape(float height, float shape, float noise, bool clip,
                                 ResponseCurve curve, float radius, float angle, int sides,
                                 TipHeightFunction heightFunction,
                                 TipNoiseFunction noiseFunction)
    : height_(std::fabs(height)), shape_(shape < 0.0f ? 0.0f : shape), noise_(noise),
      clip_(clip), curve_(curve ? curve : identityCurve), radius_(std::fabs(radius)),
      angle_(angle), sides_(sides < 1 ? 1 : sides),
      heightFunction_(heightFunction ? heightFunction : coneHeight),
      noiseFunction_(noiseFunction ? noiseFunction : ValueNoise::smooth8Signed)
{
}

PolygonTipShape::~PolygonTipShape()
{
}

float PolygonTipShape::generate(TipMask& mask) const
{
    const int size = TipMask::sizeForRadius(radius_);
    if (size < 1)
        return 1.0f;
    mask.resize(size, size);
    if (size == 1) {
        mask.pixelAt(0, 0) = static_cast<uint8_t>(
            clampInt(roundToInt(static_cast<double>(height_) * 256.0 - 0.5), 0, 255));
        return 1.0f;
    }
    const float radius = radius_ > 1024.0f ? 1024.0f : radius_;
    double sum = 0.0;
    for (int r = 0; r < size; ++r) {
        const float y = (static_cast<float>(r) + 0.5f) / radius - 1.0f;
        for (int c = 0; c < size; ++c) {
            const float x = (static_cast<float>(c) + 0.5f) / radius - 1.0f;
            const double a = std::atan2(static_cast<double>(y), static_cast<double>(x)) + angle_;
            const double u = (a + kPi) / kTwoPi;
            double f = std::fmod(sides_ * u, 1.0);
            if (f < 0.0)
                f += 1.0;
            const double d = 1.0 - heightFunction_(x, y);
            const double m = (1.0 + noiseFunction_(x, y) * static_cast<double>(noise_)) * d;
            double t = 0.0;
            if (!(m > 1.0)) {
                const float arg = static_cast<float>(1.0 - m);
                t = curve_(arg);
            }
            const double g = f < 0.5 ? 1.0 - 2.0 * shape_ * f
                                     : (1.0 - shape_) + 2.0 * shape_ * (f - 0.5);
            const int v = clampInt(roundToInt(height_ * g * t * 256.0), 0, 255);
            mask.pixelAt(c, r) = static_cast<uint8_t>(v);
            sum += v * m * m;
        }
    }
    return static_cast<float>(std::sqrt(sum / 256.0));
}
