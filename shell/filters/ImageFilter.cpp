#include "shell/filters/ImageFilter.h"

#include "image/Image.h"

bool ImageFilter::accepts(const Image& image)
{
    return !image.isEmpty();
}

bool ImageFilter::prepareDestination(const Image& source, Image& destination)
{
    if (!destination.create(source.width(), source.height(), source.format()))
        return false;
    if (copySourceFirst_)
        destination.copyFrom(source);
    return true;
}
