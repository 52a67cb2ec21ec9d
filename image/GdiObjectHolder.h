#pragma once

#include <windows.h>

// Owns (or just holds) one GDI object and remembers what it displaced when it
// was selected into a DC, so the DC never keeps a deleted object selected.
class GdiObjectHolder
{
public:
    GdiObjectHolder();
    GdiObjectHolder(HGDIOBJ handle, bool owns);
    ~GdiObjectHolder();

    GdiObjectHolder(const GdiObjectHolder&) = delete;
    GdiObjectHolder& operator=(const GdiObjectHolder&) = delete;

    // Releases what is held, then holds `handle`.
    void attach(HGDIOBJ handle, bool owns);
    // Selects the held object into `dc`, undoing an earlier selection first.
    // Returns the object that was selected in `dc` before.
    HGDIOBJ selectInto(HDC dc);
    // Selects the remembered previous object back into its DC.
    void deselect();
    // Deselects, deletes the handle when owned and clears every field.
    void release();

    // Font handling. Each gives up what is held first; a font that cannot be
    // created leaves a null handle.
    bool createFont(const char* faceName, int height);
    bool createFontIndirect(const LOGFONTA& logFont);
    // Holds the stock GUI font, not owned.
    bool useDefaultGuiFont();
    // WM_SETFONT with the held font, no redraw.
    LRESULT applyFontTo(HWND window) const;

    HGDIOBJ handle() const { return handle_; }
    bool owns() const { return owns_ != 0; }

private:
    HGDIOBJ handle_;
    HGDIOBJ previous_;
    HDC dc_;
    unsigned char owns_;
};
