#pragma once

#include "plugin/FilterInterface.h"
#include "plugin/PreviewSurface.h"

// The preview surface of the filter door: pixels in a global block described
// by a host pixel map, shown through the host's displayPixels.
class FilterPreviewSurface : public PreviewSurface
{
public:
    explicit FilterPreviewSurface(const FilterRecord& record);
    ~FilterPreviewSurface() override;
    FilterPreviewSurface(const FilterPreviewSurface&) = delete;
    FilterPreviewSurface& operator=(const FilterPreviewSurface&) = delete;

    // R,G,B for 3 bytes per pixel, R,G,B,A otherwise.
    bool allocate(int width, int height, int bytesPerPixel) override;
    void draw(HDC dc) override;

private:
    void release();

    const FilterRecord& record_;
    FilterPixelMap map_;
};
