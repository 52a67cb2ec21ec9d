#pragma once

#include "image/DcHolder.h"
#include "image/DibImage.h"
#include "image/GdiObjectHolder.h"

// A DIB image whose pixels live in a GDI DIB section, kept selected into a
// memory DC of its own so GDI can draw into the very pixels.
class DibSectionImage : public DibImage
{
public:
    DibSectionImage();
    DibSectionImage(int width, int height, int format);
    ~DibSectionImage() override;

    // False, leaving the image empty, when the header cannot be built (depth
    // other than 1, 3 or 4 bytes, unusable size) or GDI cannot make the
    // section.
    bool create(int width, int height, int format) override;
    // The section owns the pixels: only forget them.
    void freePixels() override;
    void forgetPixels();
    void releaseSection();

    // AlphaBlend from the section's DC (bodies in image/GdiBridge.cpp).
    bool alphaBlendTo(HDC target, const RECT& source, const RECT& destination) const;
    bool alphaBlendInto(HDC target, const RECT& destination) const;
    bool alphaBlendAtOrigin(HDC target) const;
    // Falls back to an opaque copy on devices without per-pixel alpha.
    bool alphaBlendAt(HDC target, const POINT& p) const;
    // Recreates the image at the area's size (3 bytes per pixel) and copies
    // the area of `source` into it.
    bool captureFrom(HDC source, const RECT& area);

    HBITMAP section() const { return (HBITMAP)section_.handle(); }
    HDC dc() const { return dcHolder_.dc(); }

private:
    GdiObjectHolder section_;
    DcHolder dcHolder_;
};
