#include "plugin/PreviewSurface.h"

#include "image/GdiBridge.h"

bool BitmapPreviewSurface::allocate(int width, int height, int bytesPerPixel)
{
    if (!bitmap_.create(width, height, bytesPerPixel == 3 ? 4 : 6)) {
        image.attach(0, 0, nullptr, 0, 4);
        return false;
    }
    image.attach(bitmap_.width(), bitmap_.height(), bitmap_.bits(), bitmap_.stride(),
                 bitmap_.format());
    return true;
}

void BitmapPreviewSurface::draw(HDC dc)
{
    if (image.isEmpty())
        return;
    const RECT r = {0, 0, image.width(), image.height()};
    drawImage(image, dc, r, r);
}
