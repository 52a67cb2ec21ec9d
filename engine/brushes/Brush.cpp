#include "engine/brushes/Brush.h"

#include <climits>

#include "engine/Canvas.h"
#include "image/Image.h"

Brush::Brush(const ParamDescriptor* table, const char* id, const char* displayName)
    : Component(table, id, displayName, "brush")
{
}

Brush::~Brush()
{
}

float Brush::meanSize() const
{
    return 1.0f;
}

void Brush::prepare(int)
{
}

Image* Brush::paintTarget() const
{
    if (!canvas || !canvas->target || canvas->target->isEmpty())
        return nullptr;
    return canvas->target;
}

Pixel Brush::readTargetClamped(int x, int y) const
{
    const Image* image = paintTarget();
    if (!image)
        return Pixel::fromWord(0);
    return image->getPixel(image->clampX(x), image->clampY(y));
}

void Brush::writeTarget(int x, int y, const Pixel& pixel)
{
    Image* image = paintTarget();
    if (!image)
        return;
    const long long px = static_cast<long long>(x) + pixelOffset.x;
    const long long py = static_cast<long long>(y) + pixelOffset.y;
    if (px < 0 || py < 0 || px >= image->width() || py >= image->height())
        return;
    image->setPixel(static_cast<int>(px), static_cast<int>(py), pixel);
}

ValuePair Brush::valuePair(const char* id) const
{
    float values[2] = {0.0f, 0.0f};
    realRange(id, values);
    ValuePair pair;
    pair.first = values[0];
    pair.second = values[1];
    return pair;
}

int Brush::addSaturated(int a, int b)
{
    const long long sum = static_cast<long long>(a) + b;
    if (sum > INT_MAX)
        return INT_MAX;
    if (sum < INT_MIN)
        return INT_MIN;
    return static_cast<int>(sum);
}
