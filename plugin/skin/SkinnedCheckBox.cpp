#include "plugin/skin/SkinnedCheckBox.h"

#include "framework/Window.h"
#include "plugin/skin/ValueListener.h"

SkinnedCheckBox::SkinnedCheckBox(HWND control, ValueListener* listener)
    : SkinnedControl(control), listener_(listener)
{
}

bool SkinnedCheckBox::handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_COMMAND + kReflectOffset) {
        if (HIWORD(wParam) != BN_CLICKED || reinterpret_cast<HWND>(lParam) != window)
            return false;
        const int checked = SendMessageA(window, BM_GETCHECK, 0, 0) != 0 ? 1 : 0;
        if (listener_)
            listener_->valueChanged(&checked);
        result = 0;
        return true;
    }
    if (message >= kReflectOffset)
        return false;
    return SkinnedControl::handleMessage(message, wParam, lParam, result);
}
