#include "plugin/FilterPreviewSurface.h"

#include <cstring>

#include "image/GdiBridge.h"
#include "image/PixelFormat.h"
#include "plugin/HostHandle.h"

FilterPreviewSurface::FilterPreviewSurface(const FilterRecord& record) : record_(record)
{
    std::memset(&map_, 0, sizeof map_);
}

FilterPreviewSurface::~FilterPreviewSurface()
{
    release();
}

void FilterPreviewSurface::release()
{
    freeGlobalBlock(map_.baseAddr);
    map_.baseAddr = nullptr;
    image.attach(0, 0, nullptr, 0, kFormatRgb);
}

bool FilterPreviewSurface::allocate(int width, int height, int bytesPerPixel)
{
    release();
    const int step = bytesPerPixel == 3 ? 3 : 4;
    // The map's bounds are 16-bit host coordinates.
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767)
        return false;
    const int rowBytes = width * step;
    void* pixels = allocGlobalBlock(size_t(rowBytes) * size_t(height));
    if (!pixels)
        return false;
    map_.version = 0;
    map_.imageMode = record_.imageMode;
    map_.rowBytes = rowBytes;
    map_.colBytes = step;
    map_.planeBytes = 1;
    setHostRect(map_.bounds, 0, 0, width, height);
    map_.baseAddr = pixels;
    image.attach(width, height, static_cast<uint8_t*>(pixels), uint32_t(rowBytes),
                 step == 3 ? kFormatRgb : kFormatRgba);
    return true;
}

void FilterPreviewSurface::draw(HDC dc)
{
    if (!map_.baseAddr || image.isEmpty())
        return;
    if (record_.displayPixels) {
        record_.displayPixels(&map_, &map_.bounds, 0, 0, dc);
        return;
    }
    const RECT r = {0, 0, image.width(), image.height()};
    drawImage(image, dc, r, r);
}
