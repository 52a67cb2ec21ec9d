#pragma once

#include <memory>

#include "foundation/SubclassedWindow.h"
#include "image/MemoryDc.h"

// Base of the wrappers that take over a dialog's existing controls: the
// control is subclassed for the wrapper's lifetime (never owned). Messages
// come both from the control itself and, reflected (+0xBC00), from the
// dialog's notifications about it.
class SkinnedControl : public SubclassedWindow
{
public:
    explicit SkinnedControl(HWND control, bool subclassNow = true);
    ~SkinnedControl() override;

    // Passes everything to the control's previous procedure.
    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    virtual void hook() {}

    // Fills rect with colour, or with the captured parent pixels when the
    // skin is transparent.
    void paintBackground(HDC dc, const RECT& rect, COLORREF colour);
    // Copies the parent's pixels under the control once.
    void captureBackground();
    bool hasBackground() const { return background_ != nullptr; }
    HDC backgroundDc() const { return background_ ? background_->dc() : nullptr; }

    int controlId;

private:
    std::unique_ptr<MemoryDc> background_;
};
