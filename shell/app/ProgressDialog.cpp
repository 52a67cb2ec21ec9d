#include "shell/app/ProgressDialog.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include <commctrl.h>

#include "foundation/Logger.h"
#include "foundation/NumberText.h"
#include "framework/Application.h"
#include "shell/app/ShellResources.h"

namespace {

CProgressDialog* creatingDialog = nullptr;

} // namespace

INT_PTR CALLBACK CProgressDialog::dialogProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam)
{
    CProgressDialog* dialog = dynamic_cast<CProgressDialog*>(CWnd::fromHandle(window));
    if (!dialog && creatingDialog) {
        dialog = creatingDialog;
        creatingDialog = nullptr;
        dialog->bind(window);
    }
    if (!dialog)
        return FALSE;
    LRESULT result = 0;
    bool handled = false;
    try {
        if (message == WM_INITDIALOG) {
            SetDlgItemTextA(window, IDC_PROGRESS_TITLE, dialog->title_.c_str());
            return TRUE;
        }
        handled = dialog->onMessage(message, wParam, lParam, result);
    } catch (...) {
        handled = true;
    }
    if (message == WM_NCDESTROY)
        dialog->unbind();
    if (handled)
        SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
    return handled ? TRUE : FALSE;
}

CProgressDialog::CProgressDialog(const String& title, RenderCallbacks* next, HWND parent)
    : cancelled_(false), title_(title), next_(next), owner_(parent), ownerWasEnabled_(false)
{
    creatingDialog = this;
    HWND window = CreateDialogParamA(resourceModule(), MAKEINTRESOURCEA(IDD_PROGRESS), parent,
                                     &CProgressDialog::dialogProc, 0);
    creatingDialog = nullptr;
    if (window && !hwnd_)
        bind(window);
    if (hwnd_) {
        centerWindow(parent);
        if (owner_ && IsWindow(owner_)) {
            ownerWasEnabled_ = IsWindowEnabled(owner_) != FALSE;
            EnableWindow(owner_, FALSE);
        }
    }
}

CProgressDialog::~CProgressDialog()
{
    if (owner_ && IsWindow(owner_) && ownerWasEnabled_)
        EnableWindow(owner_, TRUE);
    if (hwnd_) {
        HWND window = hwnd_;
        unbind();
        DestroyWindow(window);
    }
}

bool CProgressDialog::progress(float fraction)
{
    if (!hwnd_)
        return !cancelled_;
    if (!IsWindowVisible(hwnd_))
        ShowWindow(hwnd_, SW_SHOW);
    const int percent = int(fraction * 100.0f + 0.5f);
    char text[16];
    std::snprintf(text, sizeof text, "%d%%", percent);
    setItemText(IDC_PROGRESS_PERCENT, text);
    sendItem(IDC_PROGRESS_BAR, PBM_SETPOS, WPARAM(percent));
    // At most five messages per report, for the dialog and its controls.
    int served = 0;
    std::vector<HWND> windows(1, hwnd_);
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        windows.push_back(child);
    for (HWND window : windows) {
        MSG message;
        while (served < 5 && hwnd_ && PeekMessageA(&message, window, 0, 0, PM_REMOVE)) {
            ++served;
            if (!IsDialogMessageA(hwnd_, &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
    }
    return !cancelled_;
}

void CProgressDialog::finished()
{
    if (hwnd_)
        PostMessageA(hwnd_, WM_CLOSE, 0, 0);
    if (next_)
        next_->finished();
}

void CProgressDialog::reserved()
{
    if (hwnd_)
        PostMessageA(hwnd_, WM_CLOSE, 0, 0);
}

Logger* CProgressDialog::logger()
{
    return next_ ? next_->logger() : nullptr;
}

bool CProgressDialog::onCommand(UINT id, UINT, HWND)
{
    if (id == IDCANCEL) {
        // Before the first report the window is hidden and Cancel means
        // nothing; afterwards the run stops at its next report.
        if (IsWindowVisible(hwnd_))
            cancelled_ = true;
        return true;
    }
    return false;
}

bool CProgressDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_CLOSE) {
        ShowWindow(hwnd_, SW_HIDE);
        result = 0;
        return true;
    }
    return CWnd::onMessage(message, wParam, lParam, result);
}

float parseDecimalText(const String& text)
{
    float value = 0.0f;
    float divisor = 1.0f;
    bool fraction = false, negative = false;
    for (char c : text) {
        if (c == ' ')
            continue;
        if (c == '.') {
            if (fraction)
                break;
            fraction = true;
        } else if (c == '-') {
            if (negative)
                break;
            negative = true;
        } else if (c >= '0' && c <= '9') {
            const int d = c - '0';
            if (fraction) {
                divisor *= 10.0f;
                value += float(d) / divisor;
            } else {
                value = value * 10.0f + float(d);
            }
        } else {
            break;
        }
    }
    return negative ? -value : value;
}

CArrowKeyEdit::CArrowKeyEdit()
    : mode_(1), minimum_(0), maximum_(100), decimalMinimum_(0.0f), decimalMaximum_(1.0f),
      decimalStep_(0.1f), decimals_(1)
{
}

void CArrowKeyEdit::setWholeRange(int minimum, int maximum)
{
    mode_ = 1;
    minimum_ = minimum;
    maximum_ = maximum;
}

void CArrowKeyEdit::setDecimalRange(float minimum, float maximum, float step, int decimals)
{
    mode_ = 2;
    decimalMinimum_ = minimum;
    decimalMaximum_ = maximum;
    decimalStep_ = step;
    decimals_ = decimals;
}

void CArrowKeyEdit::stepBy(int steps)
{
    HWND parent = GetParent(hwnd_);
    const int id = GetDlgCtrlID(hwnd_);
    if (mode_ == 1) {
        BOOL ok = FALSE;
        const int value = int(GetDlgItemInt(parent, id, &ok, TRUE));
        if (ok)
            SetDlgItemInt(parent, id, UINT(std::max(minimum_, std::min(maximum_, value + steps))),
                          TRUE);
    } else if (mode_ == 2) {
        char buffer[12] = "";
        GetWindowTextA(hwnd_, buffer, sizeof buffer);
        float value = parseDecimalText(buffer) + float(steps) * decimalStep_;
        value = std::max(decimalMinimum_, std::min(decimalMaximum_, value));
        const String format = String::fromFormat("%%1.%df", decimals_);
        setText(formatNumber(format.c_str(), double(value)));
    }
    send(EM_SETSEL, 0, -1);
    send(EM_SCROLLCARET);
}

bool CArrowKeyEdit::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_UP || wParam == VK_DOWN) {
            send(WM_VSCROLL, wParam == VK_UP ? SB_LINEUP : SB_LINEDOWN);
            result = 0;
            return true;
        }
        return false;
    case WM_VSCROLL: {
        const UINT code = LOWORD(wParam);
        result = defaultProc(message, wParam, lParam);
        if (code == SB_LINEUP)
            stepBy(1);
        else if (code == SB_LINEDOWN)
            stepBy(-1);
        return true;
    }
    case WM_CHAR: {
        const char c = char(wParam);
        bool pass = (c >= '0' && c <= '9') || c == '\b';
        if (c == '.' && mode_ == 2)
            pass = text().find('.') == String::npos;
        if (c == '-') {
            DWORD start = 0;
            send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
            pass = start == 0;
        }
        if (!pass) {
            result = 0;
            return true;
        }
        return false;
    }
    default:
        return CWnd::onMessage(message, wParam, lParam, result);
    }
}
