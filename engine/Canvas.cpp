#include "engine/Canvas.h"

#include "image/Image.h"

Canvas Canvas::whole(Image& reference, Image& target)
{
    Canvas canvas;
    canvas.reference = &reference;
    canvas.target = &target;
    canvas.area = reference.bounds();
    return canvas;
}
