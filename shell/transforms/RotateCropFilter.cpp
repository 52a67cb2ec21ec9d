#include "shell/transforms/RotateCropFilter.h"

#include <cmath>

#include "foundation/Numeric.h"
#include "foundation/PropertyReader.h"
#include "image/Image.h"
#include "shell/transforms/TransformedRender.h"

static const double kPi = 2.0 * std::asin(1.0);

RotateCropFilter::RotateCropFilter(const PropertyReader& parameters)
    : RotateCropFilter(parameters.getFloat("width", 0.5f), parameters.getFloat("height", 0.5f),
                       parameters.getFloat("xcenter", 0.5f), parameters.getFloat("ycenter", 0.5f),
                       float(parameters.getFloat("rotate", 0.0f) * kPi / 180.0))
{
}

RotateCropFilter::RotateCropFilter(float widthFraction, float heightFraction, float centreX,
                                   float centreY, float radians)
    : ImageFilter(false), widthFraction_(widthFraction), heightFraction_(heightFraction),
      centreX_(centreX), centreY_(centreY), angle_(radians)
{
}

bool RotateCropFilter::prepareDestination(const Image&, Image&)
{
    return true;
}

bool RotateCropFilter::apply(const Image& source, Image& destination, RenderCallbacks& sink)
{
    if (source.isEmpty() || !std::isfinite(angle_))
        return false;
    const double w = source.width();
    const double h = source.height();
    // 0 at 0 and 180 degrees, 1 at 90 and 270, linear between.
    const double turns = double(angle_) / kPi;
    const double f = std::fabs(turns - std::trunc(turns));
    const double swap = 1.0 - 2.0 * std::fabs(0.5 - f);
    const int width = roundToInt((w + (h - w) * swap) * widthFraction_);
    const int height = roundToInt((h + (w - h) * swap) * heightFraction_);
    if (width <= 0 || height <= 0 || !destination.create(width, height, source.format()))
        return false;

    // The first destination pixel's centre: half a pixel in from the turned
    // corner, so that a half or quarter turn lands on whole source pixels.
    const float cx = float(w * centreX_);
    const float cy = float(h * centreY_);
    const float c = std::cos(angle_);
    const float s = std::sin(angle_);
    const float dx = 0.5f - float(width) / 2;
    const float dy = 0.5f - float(height) / 2;
    const Vec2 origin(cx + c * dx - s * dy, cy + s * dx + c * dy);
    return renderTransformed(source, destination, origin, Vec2(c, s), Vec2(-s, c), 0.5f, 0.5f,
                             AreaDivide::Whole, sink);
}
