#include "plugin/ParamBinding.h"

#include <commctrl.h>

#include "engine/Parameter.h"

CheckBoxBinding::CheckBoxBinding(Parameter& parameter, HWND checkBox)
    : ParamBinding(parameter), box_(checkBox, this)
{
}

bool CheckBoxBinding::handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    return box_.handleMessage(message, wParam, lParam, result);
}

void CheckBoxBinding::showValue()
{
    SendMessageA(box_.window, BM_SETCHECK, parameter_.values[0] ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBoxBinding::storeValue(int value)
{
    parameter_.setValue(value, 0);
    showValue();
}

void CheckBoxBinding::refresh()
{
    SetWindowTextA(box_.window, parameter_.label.c_str());
    ShowWindow(box_.window, parameter_.flags == 1 ? SW_SHOW : SW_HIDE);
    showValue();
}

void CheckBoxBinding::enable(bool on)
{
    EnableWindow(box_.window, on);
}

SliderBinding::SliderBinding(Parameter& parameter, HWND trackbar, HWND nameLabel, HWND valueLabel)
    : SliderBinding(parameter, new SkinnedTrackbar(trackbar, this), nameLabel, valueLabel)
{
}

SliderBinding::SliderBinding(Parameter& parameter, SkinnedTrackbar* trackbar, HWND nameLabel,
                             HWND valueLabel)
    : ParamBinding(parameter), trackbar_(trackbar), name_(nameLabel, DT_RIGHT),
      value_(valueLabel, DT_LEFT)
{
}

bool SliderBinding::handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    return trackbar_->handleMessage(message, wParam, lParam, result);
}

void SliderBinding::showValue()
{
    SendMessageA(trackbar_->window, TBM_SETPOS, TRUE, parameter_.values[0]);
    SetWindowTextA(value_.window, parameter_.displayText().c_str());
}

void SliderBinding::storeValue(int value)
{
    parameter_.setValue(value, 0);
    showValue();
}

void SliderBinding::refresh()
{
    HWND bar = trackbar_->window;
    SendMessageA(bar, TBM_SETRANGEMIN, FALSE, parameter_.min);
    SendMessageA(bar, TBM_SETRANGEMAX, TRUE, parameter_.max);
    SendMessageA(bar, TBM_SETPAGESIZE, 0, trackbarPageSize(parameter_.min, parameter_.max));
    SendMessageA(bar, TBM_SETLINESIZE, 0, 1);
    SetWindowTextA(name_.window, parameter_.label.c_str());
    ShowWindow(bar, SW_SHOW);
    ShowWindow(name_.window, SW_SHOW);
    ShowWindow(value_.window, SW_SHOW);
    showValue();
}

void SliderBinding::enable(bool on)
{
    EnableWindow(trackbar_->window, on);
    EnableWindow(name_.window, on);
    EnableWindow(value_.window, on);
}

RangeSliderBinding::RangeSliderBinding(Parameter& parameter, HWND trackbar, HWND nameLabel,
                                       HWND valueLabel)
    : SliderBinding(parameter, new SkinnedRangeTrackbar(trackbar, this), nameLabel, valueLabel)
{
    SkinnedRangeTrackbar& bar = rangeTrackbar();
    bar.low = parameter.values[0];
    bar.high = parameter.values[1];
    if (parameter.flags == 35)
        bar.spanColour = bar.reversedColour = RGB(160, 160, 160);
}

SkinnedRangeTrackbar& RangeSliderBinding::rangeTrackbar() const
{
    return static_cast<SkinnedRangeTrackbar&>(*trackbar_);
}

void RangeSliderBinding::showValue()
{
    SkinnedRangeTrackbar& bar = rangeTrackbar();
    SendMessageA(bar.window, TBM_SETPOS, TRUE, parameter_.values[1]);
    bar.low = parameter_.values[0];
    bar.high = parameter_.values[1];
    InvalidateRect(bar.window, nullptr, TRUE);
    SetWindowTextA(value_.window, parameter_.displayText().c_str());
}

void RangeSliderBinding::storeValue(int)
{
    // Both ends come from the trackbar, which already applied the Control
    // key rule to the new position.
    const int low = rangeTrackbar().low, high = rangeTrackbar().high;
    parameter_.setValue(low, 0);
    parameter_.setValue(high, 1);
    showValue();
}

bool BindingList::dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    // A handler may rebuild the page; walk by index over what is there.
    for (size_t i = 0; i < bindings_.size(); ++i)
        if (bindings_[i]->handleMessage(message, wParam, lParam, result))
            return true;
    return false;
}
