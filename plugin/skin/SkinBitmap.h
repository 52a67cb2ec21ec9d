#pragma once

#include <windows.h>

#include "foundation/String.h"

class DibImage;
class PixelGenerator;

// An owned device bitmap for skinned buttons: from an image file or image
// resource decoded by the image library and passed through a pixel
// generator, or a bitmap the caller made. Each load replaces (and deletes) the
// previous bitmap; a failed load keeps it.
class SkinBitmap
{
public:
    SkinBitmap();
    ~SkinBitmap();
    SkinBitmap(const SkinBitmap&) = delete;
    SkinBitmap& operator=(const SkinBitmap&) = delete;

    // generator may be null (the decoded pixels as they are).
    bool loadFile(const String& path, PixelGenerator* generator, HDC dc);
    // A PNG image resource ("bin") of the module; generator as above.
    bool loadImageResource(HMODULE module, UINT id, PixelGenerator* generator, HDC dc);
    // Takes over a bitmap the caller made.
    void attach(HBITMAP bitmap);

    HBITMAP handle() const { return bitmap_; }
    SIZE size() const;
    // Copies the source rectangle of the bitmap into the target rectangle,
    // stretched; with a transparent colour, pixels of that colour are left.
    bool draw(HDC target, const RECT& to, const RECT& from, bool transparent,
              COLORREF transparentColour) const;
    // Copies the source rectangle as it is, its top-left corner at (x, y).
    bool copy(HDC target, int x, int y, const RECT& from) const;

private:
    bool adopt(DibImage& image, PixelGenerator* generator, HDC dc);

    HBITMAP bitmap_;
};
