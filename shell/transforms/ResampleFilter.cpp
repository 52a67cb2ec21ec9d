#include "shell/transforms/ResampleFilter.h"

#include "foundation/PropertyReader.h"
#include "image/Image.h"
#include "shell/transforms/TransformedRender.h"

static float limitedSmoothing(float s)
{
    if (!(s >= 0.0f))
        return 0.0f;
    return s > 4.0f ? 4.0f : s;
}

ResampleFilter::ResampleFilter(const PropertyReader& parameters)
    : ResampleFilter(parameters.getInt("width", 0), parameters.getInt("height", 0),
                     parameters.getFloat("smooth", 1.0f))
{
}

ResampleFilter::ResampleFilter(int width, int height, float smoothing)
    : ImageFilter(false), width_(width), height_(height), smoothing_(limitedSmoothing(smoothing))
{
}

bool ResampleFilter::prepareDestination(const Image& source, Image& destination)
{
    // An empty size would make an empty image: nothing to resample into.
    return width_ > 0 && height_ > 0 && destination.create(width_, height_, source.format());
}

bool ResampleFilter::apply(const Image& source, Image& destination, RenderCallbacks& sink)
{
    if (source.isEmpty() || destination.isEmpty() || source.step() != destination.step())
        return false;
    // The small subtraction keeps the last sample inside the source.
    const float sx = float(double(source.width()) / destination.width() - 0.000001);
    const float sy = float(double(source.height()) / destination.height() - 0.000001);
    // Divided by the part of the area inside the source, so borders keep
    // their brightness.
    return renderTransformed(source, destination, Vec2(sx / 2, sy / 2), Vec2(sx, 0.0f),
                             Vec2(0.0f, sy), sx * smoothing_, sy * smoothing_,
                             AreaDivide::Covered, sink);
}
