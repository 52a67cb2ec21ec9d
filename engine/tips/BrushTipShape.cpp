#include "engine/tips/BrushTipShape.h"

#include <cmath>

#include "engine/tips/TipMask.h"
#include "engine/tips/ValueNoise.h"
#include "foundation/Numeric.h"
#include "foundation/PropertyReader.h"
#include "foundation/String.h"
#include "foundation/Vec2.h"

namespace {

double identityCurve(const float& x)
{
    return x;
}

} // namespace

BrushTipShape::BrushTipShape(float height, float shape, float noise, bool clip,
                             ResponseCurve curve, TipHeightFunction heightFunction,
                             TipNoiseFunction noiseFunction)
    : height_(std::fabs(height)), shape_(shape), noise_(noise), clip_(clip),
      curve_(curve ? curve : identityCurve),
      heightFunction_(heightFunction ? heightFunction : coneHeight),
      noiseFunction_(noiseFunction ? noiseFunction : ValueNoise::smooth8Signed)
{
}

BrushTipShape::BrushTipShape(PropertyReader& reader)
    : height_(1.0f), shape_(1.0f), noise_(0.0f), clip_(true), curve_(identityCurve),
      heightFunction_(coneHeight), noiseFunction_(ValueNoise::smooth8Signed)
{
    shape_ = reader.getFloat("shape", 1.0f);
    height_ = reader.getFloat("height", 1.0f);
    noise_ = reader.getFloat("noise", 0.0f);
    clip_ = reader.getBool("clip", true);
    // An id the registry does not hold reads as its first row, "pass".
    const String id = reader.getString("transfunc", "");
    curve_ = responseCurves.entryAt(responseCurves.indexOf(id)).function;
}

BrushTipShape::~BrushTipShape()
{
}

uint8_t BrushTipShape::valueAt(const Vec2& point) const
{
    const float k = heightFunction_(point.x, point.y);
    if (clip_ && k < 0.0f)
        return 0;
    double h = static_cast<double>(k) * height_;
    h = h + (std::sqrt(h) - h) * shape_;
    const float hf = static_cast<float>(h);
    const double t = curve_(hf);
    const double n = noiseFunction_(point.x, point.y);
    return static_cast<uint8_t>(clampInt(roundToInt((1.0 + n * noise_) * t * 256.0), 0, 255));
}

float BrushTipShape::generate(TipMask& mask, float radius) const
{
    const int size = TipMask::sizeForRadius(radius);
    if (size < 1)
        return 1.0f;
    if (radius > 1024.0f)
        radius = 1024.0f;
    mask.resize(size, size);
    double sum = 0.0;
    for (int r = 0; r < size; ++r) {
        const float y = (static_cast<float>(r) + 0.5f) / radius - 1.0f;
        for (int c = 0; c < size; ++c) {
            const float x = (static_cast<float>(c) + 0.5f) / radius - 1.0f;
            const uint8_t v = valueAt(Vec2(x, y));
            mask.pixelAt(c, r) = v;
            sum += v;
        }
    }
    return static_cast<float>(std::sqrt(sum / 256.0));
}
