#pragma once

#include "image/DibImage.h"

// An image of a document (the current image, undo snapshots, the display
// copy): owned pixels with a top-down BI_RGB header that every creation
// refreshes, so it can be drawn into any DC and copied to the clipboard as it
// is. Drawing is DibImage::draw (SetDIBitsToDevice at 1:1, halftone
// StretchDIBits otherwise); the clipboard block is makeClipboardDib
// (image/GdiBridge.h).
class DocumentDib : public DibImage
{
public:
    DocumentDib() {}
    DocumentDib(int width, int height, int format);

    bool create(int width, int height, int format) override;
    void afterAllocation() override;

    // Fills the header from the size, depth and stride; false, keeping the
    // old header, unless there are 1, 3 or 4 bytes per pixel and a size.
    bool updateHeader();
    const BITMAPINFOHEADER& header() const { return info_.bmiHeader; }
};

// Draws the source rectangle of the image into the destination rectangle.
bool DrawDib(const DocumentDib& image, HDC dc, const RECT& source, const RECT& destination);
