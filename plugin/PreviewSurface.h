#pragma once

#include <windows.h>

#include "image/Image.h"
#include "image/OwnedBitmap.h"

// The picture the settings dialog renders its preview into and shows. It is
// always the preview's own memory: the caller's image buffers are never a
// preview surface.
class PreviewSurface
{
public:
    virtual ~PreviewSurface() {}
    // Makes `image` describe writable pixels of that size (3 or 4 bytes per
    // pixel); false when they cannot be had.
    virtual bool allocate(int width, int height, int bytesPerPixel) = 0;
    // Shows the picture with its top-left corner at (0, 0), one pixel per
    // device pixel.
    virtual void draw(HDC dc) = 0;

    Image image;
};

// A surface over a bitmap of its own, drawn through GDI.
class BitmapPreviewSurface : public PreviewSurface
{
public:
    bool allocate(int width, int height, int bytesPerPixel) override;
    void draw(HDC dc) override;

private:
    OwnedBitmap bitmap_;
};
