#pragma once

#include "engine/RenderCallbacks.h"
#include "foundation/String.h"
#include "framework/Window.h"

// A modeless "Processing..." window that is the progress sink of a long run:
// shown at the first report, percentage and bar, Cancel raises the flag the
// run polls. Its owner is disabled while it exists, so nothing can close the
// document under the run; the pump of each report serves the dialog and its
// controls (Cancel works during the run).
class CProgressDialog : public CWnd, public RenderCallbacks
{
public:
    CProgressDialog(const String& title, RenderCallbacks* next, HWND parent);
    ~CProgressDialog() override;

    bool cancelled() const { return cancelled_; }

    void requestPreview() override {}
    bool progress(float fraction) override;
    bool isCancelled() override { return cancelled_; }
    void finished() override;
    void reserved() override;
    void cancel() override { cancelled_ = true; }
    void reset() override { cancelled_ = false; }
    Logger* logger() override;

    bool onCommand(UINT id, UINT code, HWND control) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    bool cancelled_;
    String title_;
    RenderCallbacks* next_;
    HWND owner_;
    bool ownerWasEnabled_;
};

// Reads "-3.25" style text: spaces skipped, a second "." or "-" or any other
// character ends it.
float parseDecimalText(const String& text);

// A number edit that steps with the arrow keys and drops other characters.
class CArrowKeyEdit : public CWnd
{
public:
    CArrowKeyEdit();
    void setWholeRange(int minimum, int maximum);
    void setDecimalRange(float minimum, float maximum, float step, int decimals);
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void stepBy(int steps);
    short mode_;
    int minimum_;
    int maximum_;
    float decimalMinimum_;
    float decimalMaximum_;
    float decimalStep_;
    int decimals_;
};
