#include "plugin/skin/SkinnedTrackbar.h"

#include <algorithm>

#include <commctrl.h>

#include "framework/Hooks.h"
#include "framework/Window.h"
#include "plugin/skin/SkinSettings.h"
#include "plugin/skin/ValueListener.h"

SkinnedTrackbar::SkinnedTrackbar(HWND control, ValueListener* listener)
    : SkinnedControl(control), listener_(listener)
{
    SetWindowLongA(control, GWL_STYLE, GetWindowLongA(control, GWL_STYLE) & ~TBS_ENABLESELRANGE);
}

int SkinnedTrackbar::rangeMin() const
{
    return int(SendMessageA(window, TBM_GETRANGEMIN, 0, 0));
}

int SkinnedTrackbar::rangeMax() const
{
    return int(SendMessageA(window, TBM_GETRANGEMAX, 0, 0));
}

bool SkinnedTrackbar::handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const bool reflected = message >= kReflectOffset;
    if (reflected)
        message -= kReflectOffset;
    switch (message) {
    case WM_GETDLGCODE:
        result = DLGC_WANTARROWS;
        return true;
    case WM_ERASEBKGND:
        if (!skinSettings().transparent)
            break;
        result = 1;
        return true;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (!header || header->code != UINT(NM_CUSTOMDRAW) || int(header->idFrom) != controlId)
            break;
        const NMCUSTOMDRAW* draw = reinterpret_cast<const NMCUSTOMDRAW*>(lParam);
        if (draw->dwDrawStage == CDDS_PREPAINT) {
            if (skinSettings().transparent && !hasBackground())
                captureBackground();
            result = CDRF_NOTIFYITEMDRAW;
        } else if (draw->dwDrawStage == CDDS_ITEMPREPAINT && draw->dwItemSpec == TBCD_CHANNEL) {
            drawChannel(draw->hdc, draw->rc, GetWindowLongA(window, GWL_STYLE));
            result = CDRF_SKIPDEFAULT;
        } else {
            result = CDRF_DODEFAULT;
        }
        return true;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (reinterpret_cast<HWND>(lParam) != window || LOWORD(wParam) > TB_ENDTRACK)
            break;
        valueChanged(int(SendMessageA(window, TBM_GETPOS, 0, 0)));
        result = 1;
        return true;
    case WM_MOUSEWHEEL: {
        const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
        int position = int(SendMessageA(window, TBM_GETPOS, 0, 0)) + (delta >= 1 ? 1 : -1);
        position = std::max(rangeMin(), std::min(rangeMax(), position));
        SendMessageA(window, TBM_SETPOS, TRUE, position);
        valueChanged(position);
        result = 0;
        return true;
    }
    default:
        break;
    }
    if (reflected)
        return false;
    return SkinnedControl::handleMessage(message, wParam, lParam, result);
}

void SkinnedTrackbar::valueChanged(int position)
{
    if (listener_)
        listener_->valueChanged(&position);
}

void SkinnedTrackbar::drawPlainChannel(HDC dc, const RECT& rect)
{
    if (HDC background = backgroundDc()) {
        BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, background,
               rect.left, rect.top, SRCCOPY);
    } else {
        HBRUSH brush = CreateSolidBrush(skinSettings().backgroundColour);
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
    }
    RECT inner = rect;
    // Edge code 9: raised outer and sunken inner border, drawn flat.
    DrawEdge(dc, &inner, BDR_RAISEDOUTER | BDR_SUNKENINNER, BF_RECT | BF_ADJUST | BF_FLAT);
    HBRUSH light = CreateSolidBrush(RGB(250, 250, 250));
    FillRect(dc, &inner, light);
    DeleteObject(light);
}

void SkinnedTrackbar::drawChannel(HDC dc, const RECT& rect, LONG)
{
    drawPlainChannel(dc, rect);
}

SkinnedRangeTrackbar::SkinnedRangeTrackbar(HWND control, ValueListener* listener)
    : SkinnedTrackbar(control, listener), low(0), high(0), spanColour(kDefaultSpanColour),
      reversedColour(kDefaultReversedColour)
{
    SetWindowLongA(control, GWL_STYLE, GetWindowLongA(control, GWL_STYLE) | TBS_ENABLESELRANGE);
}

void SkinnedRangeTrackbar::valueChanged(int position)
{
    if (!controlKeyDown())
        low = position;
    high = position;
    SkinnedTrackbar::valueChanged(position);
}

void SkinnedRangeTrackbar::drawChannel(HDC dc, const RECT& rect, LONG style)
{
    RECT channel = rect;
    if (channel.bottom - channel.top > 8) {
        const int middle = (channel.top + channel.bottom) / 2;
        channel.top = middle - 4;
        channel.bottom = middle + 4;
    }
    drawPlainChannel(dc, channel);
    const int minimum = rangeMin(), maximum = rangeMax();
    if (minimum == maximum || low == high)
        return;
    const bool vertical = (style & TBS_VERT) != 0;
    const int from = vertical ? channel.top : channel.left;
    const int length = vertical ? channel.bottom - channel.top : channel.right - channel.left;
    const double scale = double(length) / double(maximum - minimum);
    int a = from + int((low - minimum) * scale);
    int b = from + int((high - minimum) * scale);
    if (a > b)
        std::swap(a, b);
    RECT span = channel;
    if (vertical) {
        span.top = a;
        span.bottom = b;
    } else {
        span.left = a;
        span.right = b;
    }
    if (span.right <= span.left || span.bottom <= span.top)
        return;
    HBRUSH brush = CreateSolidBrush(high < low ? reversedColour : spanColour);
    FillRect(dc, &span, brush);
    DeleteObject(brush);
}
