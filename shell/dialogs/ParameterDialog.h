#pragma once

#include <functional>

#include "engine/DefaultRenderCallbacks.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"

class ParameterPreview;
class PropertyBag;
class PropertyReader;

// The one dialog of every described operation: one to five labelled sliders
// with value texts, laid out from a parameter description. Each slider move
// stores the parameter's value in the values bag and asks for a preview; the
// preview heartbeat (a 70 ms timer) runs it over the whole image while the
// sliders stay live, and a slider moved meanwhile cancels the running
// preview at its next progress report.
class CParameterDialog : public CDialog, public DefaultRenderCallbacks
{
public:
    static const UINT_PTR kPreviewTimer = 120;
    static const UINT kPreviewPeriod = 70;
    // No slider position takes it, so each slider's first position shows.
    static const int kUnsetPosition = 4399504;
    static const int kMaxParameters = 8;

    // The description and values outlive the dialog; preview may be null.
    CParameterDialog(const PropertyReader& description, PropertyBag& values,
                     ParameterPreview* preview, HWND parent);
    ~CParameterDialog() override;

    void setSliderPosition(int index, int position);
    // 0 ready (green light), 1 busy (amber light).
    void setIndicator(int state);
    int indicatorState() const { return indicatorState_; }

    // Called after each preview that completed (the document shows it).
    std::function<void()> previewShown;

    // The text that a slider position of `divisionsPerUnit` shows.
    static String valueText(int position, int divisionsPerUnit);
    // Where the last parameter dialog was closed ((-1, -1) until one was).
    static POINT lastPosition();

    bool onInitDialog() override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool onTimer(UINT_PTR id) override;
    void onDestroy() override;
    void onOK() override;
    void onCancel() override;

    // The previews' callbacks: a slider move since the preview started
    // cancels it; progress keeps the dialog's own messages flowing.
    void requestPreview() override;
    bool progress(float fraction) override;
    bool isCancelled() override;

protected:
    virtual void runPreview();

private:

    bool cancelFlag_;
    const PropertyReader& description_;
    int count_;
    int positions_[kMaxParameters];
    PropertyBag& values_;
    ParameterPreview* preview_;
    bool busy_; // a preview is running
    UINT_PTR timer_;
    bool dirty_;
    CStatic indicator_;
    HBITMAP indicatorBitmap_;
    int indicatorState_;
};
