#include "shell/dialogs/ParameterDialog.h"

#include <cmath>

#include "foundation/NumberText.h"
#include "foundation/PropertyBag.h"
#include "framework/Application.h"
#include "framework/DataExchange.h"
#include "framework/MessagePump.h"
#include "shell/dialogs/ShellDialogIds.h"
#include "shell/operations/ParameterRunner.h"
#include "shell/operations/ParameterSchema.h"

namespace {

POINT& lastDialogPosition()
{
    static POINT position = {-1, -1};
    return position;
}

UINT templateFor(int count)
{
    return count >= 1 && count <= kMaxSchemaParameters ? UINT(IDD_PARAMETERS_1 + count - 1) : 0;
}

String suffix(int index)
{
    return String::fromFormat("_%d", index);
}

} // namespace

CParameterDialog::CParameterDialog(const PropertyReader& description, PropertyBag& values,
                                   ParameterPreview* preview, HWND parent)
    : CDialog(0, parent), DefaultRenderCallbacks(&cancelFlag_), cancelFlag_(false),
      description_(description), count_(description.getInt("count", 0)), values_(values),
      preview_(preview), busy_(false), timer_(0), dirty_(true), indicatorBitmap_(nullptr),
      indicatorState_(-1)
{
    setTemplateId(templateFor(count_));
    for (int& p : positions_)
        p = kUnsetPosition;
}

CParameterDialog::~CParameterDialog()
{
    if (indicatorBitmap_)
        DeleteObject(indicatorBitmap_);
}

String CParameterDialog::valueText(int position, int divisionsPerUnit)
{
    const int d = divisionsPerUnit;
    if (d <= 0)
        return String::fromFormat("%d", position);
    const char* format = d <= 10 ? "%1.1f" : d <= 100 ? "%1.2f" : "%1.3f";
    return formatNumber(format, double(position) / d);
}

POINT CParameterDialog::lastPosition()
{
    return lastDialogPosition();
}

bool CParameterDialog::onInitDialog()
{
    CDialog::onInitDialog();
    DataExchange exchange(*this, false);
    ddxControl(exchange, IDC_INDICATOR, indicator_);
    setText(description_.getString("title", String()));
    const int count = count_ < kMaxParameters ? count_ : kMaxParameters;
    for (int i = 0; i < count; ++i) {
        const UINT slider = IDC_PARAM_SLIDER + i;
        sendItem(slider, TBM_SETPOS, FALSE, 0);
        sendItem(slider, TBM_SETRANGEMIN, FALSE, description_.getInt("minval" + suffix(i), -100));
        sendItem(slider, TBM_SETRANGEMAX, TRUE, description_.getInt("maxval" + suffix(i), 100));
        sendItem(slider, TBM_SETPAGESIZE, 0, 5);
        sendItem(slider, TBM_SETLINESIZE, 0, 1);
        setItemText(IDC_PARAM_LABEL + i,
                    description_.getString("description" + suffix(i), "param" + suffix(i)));
    }
    for (int i = 0; i < count; ++i) {
        const String key = description_.getString("name" + suffix(i), String());
        setSliderPosition(i, description_.getInt(key, 0));
    }
    // The first preview starts with the first tick; until it is done the
    // light is amber.
    setIndicator(1);
    const POINT last = lastDialogPosition();
    if (last.x >= 0 && last.y >= 0)
        SetWindowPos(hwnd_, nullptr, last.x, last.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    timer_ = setTimer(kPreviewTimer, kPreviewPeriod);
    return true;
}

void CParameterDialog::setSliderPosition(int index, int position)
{
    if (index < 0 || index >= count_ || index >= kMaxParameters)
        return;
    if (positions_[index] == position)
        return;
    const UINT slider = IDC_PARAM_SLIDER + index;
    // Setting 1 first makes the trackbar redraw even at its old position.
    sendItem(slider, TBM_SETPOS, TRUE, 1);
    sendItem(slider, TBM_SETPOS, TRUE, position);
    positions_[index] = position;
    const int divisions = description_.getInt("divsperunit" + suffix(index), 0);
    setItemText(IDC_PARAM_VALUE + index, valueText(position, divisions));
    storeParameterValue(description_, index, position, values_);
    dirty_ = true;
}

void CParameterDialog::setIndicator(int state)
{
    if (state == indicatorState_)
        return;
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(resourceModule(), MAKEINTRESOURCEA(state ? IDB_LIGHT_BUSY : IDB_LIGHT_READY),
                   IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    if (!bitmap)
        return;
    indicatorState_ = state;
    if (indicator_.hwnd())
        indicator_.send(STM_SETIMAGE, IMAGE_BITMAP, LPARAM(bitmap));
    if (indicatorBitmap_)
        DeleteObject(indicatorBitmap_);
    indicatorBitmap_ = bitmap;
}

bool CParameterDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_HSCROLL && lParam) {
        HWND slider = reinterpret_cast<HWND>(lParam);
        const int index = GetDlgCtrlID(slider) - IDC_PARAM_SLIDER;
        if (index >= 0 && index < count_) {
            setSliderPosition(index, int(SendMessageA(slider, TBM_GETPOS, 0, 0)));
            result = 0;
            return true;
        }
    }
    return CDialog::onMessage(message, wParam, lParam, result);
}

bool CParameterDialog::onTimer(UINT_PTR id)
{
    if (id != kPreviewTimer)
        return CDialog::onTimer(id);
    // Ticks queued behind a slow preview are dropped; only this dialog's
    // own heartbeat, never another window's timers.
    MSG pending;
    while (PeekMessageA(&pending, hwnd_, WM_TIMER, WM_TIMER, PM_NOREMOVE) &&
           pending.hwnd == hwnd_ && pending.wParam == kPreviewTimer)
        PeekMessageA(&pending, hwnd_, WM_TIMER, WM_TIMER, PM_REMOVE);
    if (busy_)
        return true;
    cancelFlag_ = false;
    if (dirty_ && !isModalEnded()) {
        dirty_ = false;
        runPreview();
    }
    return true;
}

void CParameterDialog::runPreview()
{
    if (!preview_)
        return;
    setIndicator(1);
    // No tick may start a second preview inside this one, whoever pumps.
    busy_ = true;
    bool ok = false;
    try {
        ok = preview_->preview(*this);
    } catch (...) {
        busy_ = false;
        throw;
    }
    busy_ = false;
    if (ok)
        requestPreview();
    setIndicator(0);
}

void CParameterDialog::requestPreview()
{
    if (previewShown)
        previewShown();
}

bool CParameterDialog::isCancelled()
{
    if (dirty_ || isModalEnded())
        cancelFlag_ = true;
    return cancelFlag_;
}

bool CParameterDialog::progress(float)
{
    if (isCancelled())
        return false;
    // Only the dialog's own window and its controls: other windows (the
    // document under the preview) must not run re-entrantly.
    if (hwnd_)
        MessagePump(hwnd_, 0, 0, nullptr, true).pumpPending();
    return !isCancelled();
}

void CParameterDialog::onOK()
{
    cancelFlag_ = true;
    CDialog::onOK();
}

void CParameterDialog::onCancel()
{
    cancelFlag_ = true;
    CDialog::onCancel();
}

void CParameterDialog::onDestroy()
{
    RECT r;
    if (GetWindowRect(hwnd_, &r))
        lastDialogPosition() = POINT{r.left, r.top};
    if (timer_) {
        killTimer(kPreviewTimer);
        timer_ = 0;
    }
    CDialog::onDestroy();
}
