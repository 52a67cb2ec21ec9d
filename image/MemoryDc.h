#pragma once

#include "image/DcHolder.h"
#include "image/GdiObjectHolder.h"

// A bitmap selected into a memory DC of its own. Destruction selects the old
// bitmap back before anything owned is deleted.
class MemoryDc
{
public:
    MemoryDc();
    // Creates an owned memory DC compatible with `reference` (the screen when
    // null) and selects `bitmap` into it.
    MemoryDc(HBITMAP bitmap, bool ownsBitmap, HDC reference = nullptr);
    ~MemoryDc();

    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;

    // Copies from `source` at (x, y) over the whole bitmap.
    bool bitBltFrom(HDC source, int x, int y, DWORD rop);

    // Copies from this DC into `targetDc`.
    bool transparentBltTo(HDC targetDc, const RECT& target, const RECT& source, UINT transparentColour);
    bool stretchBltTo(HDC targetDc, const RECT& target, const RECT& source, DWORD rasterOperation);

    HDC dc() const { return dcHolder.dc(); }

    GdiObjectHolder bitmap;
    DcHolder dcHolder;
};
