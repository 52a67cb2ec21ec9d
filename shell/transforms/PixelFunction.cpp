#include "shell/transforms/PixelFunction.h"

#include "engine/RenderCallbacks.h"
#include "image/Image.h"

bool runPixelFunction(const PixelFunction& function, const Image& source, Image& destination,
                      RenderCallbacks& callbacks)
{
    if (source.height() <= 0)
        return true;
    if (source.isEmpty() || destination.isEmpty() || destination.width() < source.width()
        || destination.height() < source.height())
        return false;
    const int height = source.height();
    for (int y = 0; y < height; ++y) {
        if (!function.mapRow(source, y, destination))
            for (int x = 0; x < source.width(); ++x)
                destination.setPixel(x, y, function.pixelAt(source, x, y));
        if ((y & 1) && !callbacks.progress(float(y + 1) / float(height)))
            return false;
    }
    return true;
}

bool runPixelFunctionInPlace(const PixelFunction& function, Image& image,
                             RenderCallbacks& callbacks)
{
    return runPixelFunction(function, image, image, callbacks);
}
