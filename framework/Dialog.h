#pragma once

#include "framework/Window.h"

class DataExchange;

// A dialog from a template of the current application's resource module.
// doModal runs its own message loop, so modal dialogs nest and a handler may
// pump messages while another modal loop is on the stack. While the dialog is
// up its owner is disabled; the owner is the given window's top-level window,
// or the calling thread's active window when none is usable.
class CDialog : public CWnd
{
public:
    CDialog(UINT templateId, HWND parent);
    CDialog(UINT templateId, CWnd* parent);
    ~CDialog() override;

    // IDOK, IDCANCEL or what endDialog was given; -1 when the dialog could
    // not be made or a handler threw.
    virtual INT_PTR doModal();
    // Ends the modal loop after the current message with this result.
    void endDialog(INT_PTR result);
    bool isModalEnded() const { return ended_; }

    // Base: exchanges data into the controls; true gives the first control
    // the focus.
    virtual bool onInitDialog();
    // Base: takes the controls' data; ends with IDOK when it validates.
    virtual void onOK();
    virtual void onCancel();
    virtual void doDataExchange(DataExchange& exchange);
    // Runs doDataExchange; false when a value did not validate.
    bool updateData(bool saveAndValidate);
    // A message of the modal loop before it is translated; true consumes it.
    virtual bool preTranslateMessage(MSG& message);

    UINT templateId() const { return templateId_; }
    void setTemplateId(UINT id) { templateId_ = id; }
    HWND parentWindow() const { return parent_; }

    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool onCommand(UINT id, UINT code, HWND control) override;

    // The owner that a modal window over `parent` gets.
    static HWND resolveOwner(HWND parent);

private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR dialogMessage(UINT message, WPARAM wParam, LPARAM lParam);

    UINT templateId_;
    HWND parent_;
    bool inModal_;
    bool ended_;
    INT_PTR result_;
};
