#include "plugin/skin/SkinnedPushButton.h"

#include "image/PaintDc.h"
#include "foundation/PropertyWriter.h"
#include "plugin/skin/SkinSettings.h"

SkinnedPushButton::SkinnedPushButton(HWND button, const String& buttonName, bool subclassNow)
    : SkinnedControl(button, subclassNow), hover(false), name(buttonName), savePositionFlag(false)
{
}

SkinnedPushButton::State SkinnedPushButton::state() const
{
    if (SendMessageA(window, BM_GETSTATE, 0, 0) & BST_PUSHED)
        return Pressed;
    if (GetWindowLongA(window, GWL_STYLE) & WS_DISABLED)
        return Disabled;
    return hover ? Hover : Normal;
}

void SkinnedPushButton::paint(HDC dc, const RECT& client, State frame)
{
    const SkinSettings& skin = skinSettings();
    paintBackground(dc, client, skin.backgroundColour);
    const SIZE size = strip.size();
    const int frameWidth = size.cx / 4;
    if (frameWidth <= 0)
        return;
    const RECT from = {frameWidth * int(frame), 0, frameWidth * (int(frame) + 1), size.cy};
    strip.draw(dc, client, from, skin.transparent, skin.transparentColour);
}

void SkinnedPushButton::paintWindow()
{
    PaintDc paintDc(window);
    RECT client;
    GetClientRect(window, &client);
    paint(paintDc.dc(), client, state());
}

bool SkinnedPushButton::updateHover()
{
    const bool over = isCursorOver(true);
    if (over == hover)
        return false;
    hover = over;
    InvalidateRect(window, nullptr, TRUE);
    return true;
}

void SkinnedPushButton::tick(DWORD)
{
    if (hover && !isCursorOver(true)) {
        hover = false;
        InvalidateRect(window, nullptr, TRUE);
    }
}

bool SkinnedPushButton::handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_PAINT:
        paintWindow();
        result = 0;
        return true;
    case WM_MOUSEMOVE:
        updateHover();
        break;
    default:
        break;
    }
    return SkinnedControl::handleMessage(message, wParam, lParam, result);
}

void SkinnedPushButton::savePosition(PropertyWriter& writer) const
{
    if (savePositionFlag)
        savePlacement(writer, "control.button." + name + ".pos");
}

CSkinButton::CSkinButton(const String& name) : part(nullptr, name, false)
{
}

bool CSkinButton::subclassWindow(HWND window)
{
    if (!CButton::subclassWindow(window))
        return false;
    bindPart();
    return true;
}

bool CSkinButton::subclassDlgItem(int id, HWND parent)
{
    return subclassWindow(GetDlgItem(parent, id));
}

void CSkinButton::bindPart()
{
    part.window = hwnd_;
    part.controlId = hwnd_ ? GetDlgCtrlID(hwnd_) : 0;
}

bool CSkinButton::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    // A window bound another way (created here) is learnt on its first message.
    if (part.window != hwnd_)
        bindPart();
    switch (message) {
    case WM_ERASEBKGND:
        result = TRUE;
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
        part.updateHover();
        return false;
    case WM_PAINT:
        part.paintWindow();
        result = 0;
        return true;
    case WM_UPDATEUISTATE:
        InvalidateRect(hwnd_, nullptr, FALSE);
        result = TRUE;
        return true;
    default:
        return CButton::onMessage(message, wParam, lParam, result);
    }
}

bool CSkinButton::onReflected(UINT message, WPARAM, LPARAM lParam, LRESULT& result)
{
    if (message != WM_DRAWITEM + kReflectOffset || !lParam)
        return false;
    const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item->itemAction & ODA_DRAWENTIRE) {
        SkinnedPushButton::State state = part.hover ? SkinnedPushButton::Hover
                                                    : SkinnedPushButton::Normal;
        if (item->itemState & ODS_SELECTED)
            state = SkinnedPushButton::Pressed;
        else if (item->itemState & ODS_DISABLED)
            state = SkinnedPushButton::Disabled;
        part.paint(item->hDC, item->rcItem, state);
    }
    result = TRUE;
    return true;
}
