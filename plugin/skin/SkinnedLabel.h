#pragma once

#include "foundation/String.h"
#include "plugin/skin/SkinnedControl.h"

// A static text drawn in the skin's colours. Its text is kept here: the
// window's own text stays as the template made it.
class SkinnedLabel : public SkinnedControl
{
public:
    // alignment: DrawText flags, DT_RIGHT for names, DT_LEFT for values.
    SkinnedLabel(HWND control, UINT alignment);
    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    const String& text() const { return text_; }
    void setFont(HFONT font) { font_ = font; }

private:
    void paint();

    String text_;
    UINT alignment_;
    HFONT font_;
};
