#include "engine/tips/ColorPointTip.h"

#include "foundation/Numeric.h"
#include "foundation/Rect.h"
#include "foundation/Vec2.h"

ColorPointTip::ColorPointTip() : color(Pixel::fromWord(0))
{
}

ColorPointTip::~ColorPointTip()
{
}

void ColorPointTip::stampAt(Image& image, const Vec2& position)
{
    stampColor(image, Point(roundToInt(position.x), roundToInt(position.y)));
}

void ColorPointTip::colorAt(Pixel& out, int, int) const
{
    out = color;
}

bool ColorPointTip::uniformColor(Pixel& out) const
{
    out = color;
    return true;
}
