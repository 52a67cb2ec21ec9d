#include "plugin/FilterPreviewSurface.h"

#include <cstdint>
#include <cstring>

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
    if (width <= 0 || height <= 0 || int64_t(width) * step * height > int64_t(INT32_MAX))
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
    map_.bounds = FilterPixelRect{0, 0, height, width};
    map_.baseAddr = pixels;
    image.attach(width, height, static_cast<uint8_t*>(pixels), uint32_t(rowBytes),
                 step == 3 ? kFormatRgb : kFormatRgba);
    return true;
}

void FilterPreviewSurface::draw(HDC dc)
{
    // Shown only by the host: without its displayPixels there is no preview.
    if (!map_.baseAddr || image.isEmpty() || !record_.displayPixels)
        return;
    FilterPixelRect area = map_.bounds;
    record_.displayPixels(&map_, &area, 0, 0, dc);
}
