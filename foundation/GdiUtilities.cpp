#include "foundation/GdiUtilities.h"

#include "image/GdiObjectHolder.h"
#include "image/MemoryDc.h"

#include <cstring>

HFONT defaultGuiFont()
{
    HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
    if (!font)
        font = GetStockObject(SYSTEM_FONT);
    return static_cast<HFONT>(font);
}

int describeFont(HFONT font, LOGFONTA& logFont)
{
    return GetObjectA(font, sizeof logFont, &logFont);
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

bool MemoryDc::transparentBltTo(HDC targetDc, const RECT& target, const RECT& source, UINT transparentColour)
{
    return TransparentBlt(targetDc, target.left, target.top, target.right - target.left, target.bottom - target.top,
                          dc(), source.left, source.top, source.right - source.left, source.bottom - source.top,
                          transparentColour) != 0;
}

bool MemoryDc::stretchBltTo(HDC targetDc, const RECT& target, const RECT& source, DWORD rasterOperation)
{
    return StretchBlt(targetDc, target.left, target.top, target.right - target.left, target.bottom - target.top,
                      dc(), source.left, source.top, source.right - source.left, source.bottom - source.top,
                      rasterOperation) != 0;
}
