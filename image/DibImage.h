#pragma once

#include "image/OwnedBitmap.h"

#include <windows.h>

// An owned bitmap whose BITMAPINFO is kept in step with its pixels, so it
// can be handed to GDI and the clipboard at any time.
class DibImage : public OwnedBitmap
{
public:
    DibImage();
    DibImage(int width, int height, int format);

    bool create(int width, int height, int format) override;
    void afterAllocation() override;

    // Rebuilds the header from the image; a failure keeps the old header.
    bool updateBitmapInfo();
    bool setBitmapInfo(int width, int height, int bytesPerPixel, int stride);

    const BITMAPINFO& bitmapInfo() const { return info_; }
    BITMAPINFO* bitmapInfoPointer() { return &info_; }

protected:
    BITMAPINFO info_;
};

// A header describing any image to GDI.
bool buildBitmapInfoFor(BITMAPINFO& out, const Image& image);
