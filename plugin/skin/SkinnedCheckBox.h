#pragma once

#include "plugin/skin/SkinnedControl.h"

class ValueListener;

// A check box that reports its check state (1 or 0) when clicked.
class SkinnedCheckBox : public SkinnedControl
{
public:
    SkinnedCheckBox(HWND control, ValueListener* listener);
    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    ValueListener* listener_;
};
