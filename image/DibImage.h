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

    // GDI drawing (bodies in image/GdiBridge.cpp): the source rectangle to
    // the destination rectangle, or the whole image at a point.
    bool draw(HDC dc, const RECT& source, const RECT& destination) const;
    bool drawAt(HDC dc, const POINT& p) const;
    HBITMAP createDdb(HDC dc) const;
    // Scan lines range[0] onwards, range[1] of them.
    bool setDIBits(HDC dc, HBITMAP bitmap, const int range[2]) const;

    const BITMAPINFO& bitmapInfo() const { return info_; }

protected:
    BITMAPINFO info_;
};

// A header describing any image to GDI.
bool buildBitmapInfoFor(BITMAPINFO& out, const Image& image);
