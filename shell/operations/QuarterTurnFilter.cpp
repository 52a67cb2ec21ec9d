#include "shell/operations/QuarterTurnFilter.h"

#include "image/Image.h"
#include "shell/transforms/PixelTransforms.h"

bool QuarterTurnFilter::prepareDestination(const Image& source, Image& destination)
{
    return destination.create(source.height(), source.width(), source.format());
}

bool QuarterTurnFilter::apply(const Image& source, Image& destination, RenderCallbacks&)
{
    return clockwise_ ? rotate90Clockwise(source, destination)
                      : rotate90CounterClockwise(source, destination);
}
