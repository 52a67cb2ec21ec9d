#include "plugin/skin/SkinnedControl.h"

#include "plugin/skin/SkinSettings.h"

SkinnedControl::SkinnedControl(HWND control, bool subclassNow)
    : SubclassedWindow(control, false, subclassNow), controlId(control ? GetDlgCtrlID(control) : 0)
{
}

SkinnedControl::~SkinnedControl()
{
}

bool SkinnedControl::handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    return callPrevious(message, wParam, lParam, result);
}

void SkinnedControl::paintBackground(HDC dc, const RECT& rect, COLORREF colour)
{
    if (!skinSettings().transparent) {
        SetBkColor(dc, colour);
        ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
        return;
    }
    if (!background_)
        captureBackground();
    if (background_)
        BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               background_->dc(), rect.left, rect.top, SRCCOPY);
    SetBkMode(dc, TRANSPARENT);
}

void SkinnedControl::captureBackground()
{
    HWND parent = GetParent(window);
    if (!parent)
        return;
    RECT client;
    GetClientRect(window, &client);
    const RECT inParent = rectInParent();
    HDC parentDc = GetDC(parent);
    HBITMAP bitmap = CreateCompatibleBitmap(parentDc, client.right, client.bottom);
    if (bitmap) {
        background_.reset(new MemoryDc(bitmap, true, parentDc));
        BitBlt(background_->dc(), 0, 0, client.right, client.bottom, parentDc, inParent.left,
               inParent.top, SRCCOPY);
    }
    ReleaseDC(parent, parentDc);
}
