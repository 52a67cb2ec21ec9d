#include "plugin/skin/StaticLink.h"

#include "framework/Hooks.h"
#include "framework/Resources.h"

CStaticLink::CStaticLink(const String& text, UINT cursor)
    : linkText(text), cursorId(cursor), visited(false), underlined_(nullptr)
{
}

CStaticLink::~CStaticLink()
{
    if (underlined_)
        DeleteObject(underlined_);
}

HBRUSH CStaticLink::colours(HDC dc)
{
    const LONG style = GetWindowLongA(hwnd_, GWL_STYLE);
    if (!(style & SS_NOTIFY))
        SetWindowLongA(hwnd_, GWL_STYLE, style | SS_NOTIFY);
    // Text statics only: left, centred and right.
    if ((style & SS_TYPEMASK) < 3) {
        if (!underlined_) {
            LOGFONTA font = {};
            HFONT current = reinterpret_cast<HFONT>(send(WM_GETFONT));
            if (!current)
                current = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
            if (GetObjectA(current, sizeof font, &font)) {
                font.lfUnderline = 1;
                underlined_ = CreateFontIndirectA(&font);
            }
        }
        if (underlined_)
            SelectObject(dc, underlined_);
        SetTextColor(dc, visited ? kVisitedColour : kUnvisitedColour);
        SetBkMode(dc, TRANSPARENT);
    }
    if (text() != linkText && !linkText.empty())
        setText(linkText);
    return static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
}

void CStaticLink::click()
{
    if (linkText.empty())
        linkText = text();
    if (openWebPage(linkText))
        visited = true;
    else
        MessageBeep(0);
    invalidate(true);
}

bool CStaticLink::onReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result)
{
    if (message == WM_CTLCOLORSTATIC + kReflectOffset) {
        result = reinterpret_cast<LRESULT>(colours(reinterpret_cast<HDC>(wParam)));
        return true;
    }
    if (message == WM_COMMAND + kReflectOffset && HIWORD(wParam) == STN_CLICKED) {
        click();
        result = 0;
        return true;
    }
    return false;
}

bool CStaticLink::onSetCursor(HWND, UINT, UINT)
{
    SetCursor(loadResourceCursor(cursorId));
    return true;
}
