#include "plugin/skin/SkinnedLabel.h"

#include "image/PaintDc.h"
#include "plugin/skin/SkinSettings.h"

SkinnedLabel::SkinnedLabel(HWND control, UINT alignment)
    : SkinnedControl(control), alignment_(alignment), font_(nullptr)
{
    SetWindowLongA(control, GWL_STYLE, GetWindowLongA(control, GWL_STYLE) | SS_NOTIFY);
}

bool SkinnedLabel::handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_SETTEXT:
        text_ = reinterpret_cast<const char*>(lParam);
        InvalidateRect(window, nullptr, TRUE);
        result = TRUE;
        return true;
    case WM_PAINT:
        paint();
        result = 0;
        return true;
    default:
        if (message >= 0xBC00)
            return false;
        return SkinnedControl::handleMessage(message, wParam, lParam, result);
    }
}

void SkinnedLabel::paint()
{
    PaintDc paintDc(window);
    HDC dc = paintDc.dc();
    RECT client;
    GetClientRect(window, &client);
    const SkinSettings& skin = skinSettings();
    paintBackground(dc, client, skin.backgroundColour);
    SetTextColor(dc, skin.textColour);
    SetBkMode(dc, TRANSPARENT);
    HFONT font = font_ ? font_ : skin.dialogFont;
    if (!font)
        font = reinterpret_cast<HFONT>(SendMessageA(GetParent(window), WM_GETFONT, 0, 0));
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    DrawTextA(dc, text_.c_str(), int(text_.size()), &client, alignment_);
    if (previous)
        SelectObject(dc, previous);
}
