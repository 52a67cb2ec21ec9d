#include "image/GdiObjectHolder.h"

#include <cstring>

#include "foundation/GdiUtilities.h"

GdiObjectHolder::GdiObjectHolder()
    : handle_(nullptr), previous_(nullptr), dc_(nullptr), owns_(0)
{
}

GdiObjectHolder::GdiObjectHolder(HGDIOBJ handle, bool owns)
    : handle_(handle), previous_(nullptr), dc_(nullptr), owns_(owns ? 1 : 0)
{
}

GdiObjectHolder::~GdiObjectHolder()
{
    release();
}

void GdiObjectHolder::attach(HGDIOBJ handle, bool owns)
{
    release();
    handle_ = handle;
    owns_ = owns ? 1 : 0;
}

HGDIOBJ GdiObjectHolder::selectInto(HDC dc)
{
    deselect();
    if (!dc || !handle_)
        return nullptr;
    HGDIOBJ old = SelectObject(dc, handle_);
    if (old && old != HGDI_ERROR) {
        previous_ = old;
        dc_ = dc;
        return old;
    }
    return nullptr;
}

void GdiObjectHolder::deselect()
{
    if (dc_ && previous_)
        SelectObject(dc_, previous_);
    dc_ = nullptr;
    previous_ = nullptr;
}

void GdiObjectHolder::release()
{
    deselect();
    if (owns_ && handle_)
        DeleteObject(handle_);
    handle_ = nullptr;
    owns_ = 0;
}

bool GdiObjectHolder::createFont(const char* faceName, int height)
{
    LOGFONTA logFont;
    std::memset(&logFont, 0, sizeof logFont);
    logFont.lfHeight = height;
    logFont.lfWeight = FW_NORMAL;
    if (faceName) {
        // The field holds 31 characters and the terminating NUL.
        std::strncpy(logFont.lfFaceName, faceName, LF_FACESIZE - 1);
        logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
    }
    return createFontIndirect(logFont);
}

bool GdiObjectHolder::createFontIndirect(const LOGFONTA& logFont)
{
    // Gives up the old font first, even when the new one cannot be made.
    release();
    HFONT font = CreateFontIndirectA(&logFont);
    attach(font, true);
    return font != nullptr;
}

bool GdiObjectHolder::useDefaultGuiFont()
{
    attach(defaultGuiFont(), false);
    return true;
}

LRESULT GdiObjectHolder::applyFontTo(HWND window) const
{
    return SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(handle()), 0);
}
