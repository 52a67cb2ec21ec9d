#include "framework/Dialog.h"

#include "framework/Application.h"
#include "framework/DataExchange.h"
#include "framework/FrameworkErrors.h"

CDialog::CDialog(UINT templateId, HWND parent)
    : templateId_(templateId), parent_(parent), inModal_(false), ended_(false), result_(-1)
{
}

CDialog::CDialog(UINT templateId, CWnd* parent)
    : CDialog(templateId, parent ? parent->hwnd() : nullptr)
{
}

CDialog::~CDialog()
{
    if (hwnd_ && IsWindow(hwnd_)) {
        HWND window = hwnd_;
        unbind();
        DestroyWindow(window);
    }
}

HWND CDialog::resolveOwner(HWND parent)
{
    HWND owner = parent && IsWindow(parent) ? parent : GetActiveWindow();
    // A child cannot own a popup: the owner is the top-level window.
    while (owner && (GetWindowLongA(owner, GWL_STYLE) & WS_CHILD))
        owner = GetParent(owner);
    if (owner == GetDesktopWindow())
        owner = nullptr;
    return owner;
}

INT_PTR CDialog::doModal()
{
    if (hwnd_ || inModal_)
        return -1;
    initCommonControls();
    HWND owner = resolveOwner(parent_);
    // The owner is disabled before the dialog exists, so that the dialog
    // never activates over a live owner.
    bool ownerDisabled = false;
    if (owner && IsWindowEnabled(owner)) {
        EnableWindow(owner, FALSE);
        ownerDisabled = true;
    }
    ended_ = false;
    result_ = -1;
    inModal_ = true;
    HWND window = CreateDialogParamA(resourceModule(), MAKEINTRESOURCEA(templateId_), owner,
                                     &CDialog::dialogProc, reinterpret_cast<LPARAM>(this));
    if (window && !ended_) {
        ShowWindow(window, SW_SHOWNORMAL);
        MSG message;
        while (!ended_ && IsWindow(window)) {
            const BOOL got = GetMessageA(&message, nullptr, 0, 0);
            if (got == -1)
                break;
            if (got == 0) {
                // The application is quitting: end here and let the outer
                // loop see the quit message too.
                PostQuitMessage(int(message.wParam));
                if (!ended_)
                    result_ = IDCANCEL;
                break;
            }
            bool consumed = false;
            try {
                consumed = preTranslateMessage(message);
            } catch (...) {
                reportCurrentException("dialog message filter");
                endDialog(-1);
                consumed = true;
            }
            if (!consumed && !IsDialogMessageA(window, &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
    }
    inModal_ = false;
    // Re-enable the owner before the dialog goes, or the system activates
    // some other application's window.
    if (ownerDisabled)
        EnableWindow(owner, TRUE);
    if (window && IsWindow(window)) {
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        if (owner && GetActiveWindow() == window)
            SetActiveWindow(owner);
        DestroyWindow(window);
    }
    if (hwnd_)
        unbind();
    return result_;
}

void CDialog::endDialog(INT_PTR result)
{
    if (ended_)
        return;
    ended_ = true;
    result_ = result;
    // Wakes the modal loop in case no other message is queued.
    if (hwnd_)
        PostMessageA(hwnd_, WM_NULL, 0, 0);
}

bool CDialog::onInitDialog()
{
    updateData(false);
    return true;
}

void CDialog::onOK()
{
    if (updateData(true))
        endDialog(IDOK);
}

void CDialog::onCancel()
{
    endDialog(IDCANCEL);
}

void CDialog::doDataExchange(DataExchange&)
{
}

bool CDialog::updateData(bool saveAndValidate)
{
    DataExchange exchange(*this, saveAndValidate);
    doDataExchange(exchange);
    return !exchange.failed;
}

bool CDialog::preTranslateMessage(MSG&)
{
    return false;
}

bool CDialog::onCommand(UINT id, UINT code, HWND control)
{
    // Buttons send BN_CLICKED (0); Enter and Esc arrive with code 0 too, and
    // a control that is not a button may reuse the ids with other codes.
    if (code != BN_CLICKED && control)
        return false;
    if (id == IDOK) {
        onOK();
        return true;
    }
    if (id == IDCANCEL) {
        onCancel();
        return true;
    }
    return false;
}

bool CDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_INITDIALOG) {
        result = onInitDialog() ? TRUE : FALSE;
        return true;
    }
    return CWnd::onMessage(message, wParam, lParam, result);
}

INT_PTR CDialog::dialogMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!onMessage(message, wParam, lParam, result))
        return FALSE;
    switch (message) {
    // These return their result directly instead of through DWLP_MSGRESULT.
    case WM_INITDIALOG: case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN: case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: case WM_COMPAREITEM:
    case WM_VKEYTOITEM: case WM_CHARTOITEM: case WM_QUERYDRAGICON:
        return INT_PTR(result);
    default:
        SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
        return TRUE;
    }
}

INT_PTR CALLBACK CDialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* dialog = nullptr;
    if (message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        if (dialog)
            dialog->bind(window);
    } else {
        dialog = dynamic_cast<CDialog*>(fromHandle(window));
    }
    if (!dialog)
        return FALSE;
    INT_PTR answer = FALSE;
    try {
        answer = dialog->dialogMessage(message, wParam, lParam);
    } catch (...) {
        reportCurrentException("dialog procedure");
        if (dialog->inModal_)
            dialog->endDialog(-1);
        answer = FALSE;
    }
    if (message == WM_NCDESTROY && fromHandle(window) == dialog) {
        dialog->unbind();
        if (dialog->inModal_ && !dialog->ended_)
            dialog->endDialog(-1);
        try {
            dialog->postNcDestroy();
        } catch (...) {
            reportCurrentException("dialog destruction");
        }
    }
    return answer;
}
