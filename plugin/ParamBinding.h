#pragma once

#include <memory>
#include <vector>

#include <windows.h>

#include "foundation/MessageHandler.h"
#include "plugin/skin/SkinnedCheckBox.h"
#include "plugin/skin/SkinnedLabel.h"
#include "plugin/skin/SkinnedTrackbar.h"
#include "plugin/skin/ValueListener.h"

class Parameter;

// Control ids of the parameter rows (r = 0..13) and check boxes (k = 0..3).
const int kParameterRows = 14;
const int kParameterCheckBoxes = 4;
inline int trackbarId(int row) { return 1020 + row; }
inline int valueLabelId(int row) { return 1070 + row; }
inline int nameLabelId(int row) { return 1100 + row; }
inline int checkBoxId(int box) { return 1140 + box; }

// Ties one parameter to its dialog controls: shows the value and writes the
// user's changes back through Parameter::setValue, which tells the
// parameter's listener.
class ParamBinding : public MessageHandler, public ValueListener
{
public:
    explicit ParamBinding(Parameter& parameter) : parameter_(parameter) {}

    // Reflected dialog notifications, handed to the skinned control.
    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override = 0;
    virtual void showValue() = 0;
    virtual void storeValue(int value) = 0;
    // Range, texts and visibility from the parameter, then the value.
    virtual void refresh() = 0;
    virtual void enable(bool on) = 0;

    void valueChanged(const int* value) override { storeValue(*value); }
    Parameter& parameter() const { return parameter_; }

protected:
    Parameter& parameter_;
};

class CheckBoxBinding : public ParamBinding
{
public:
    CheckBoxBinding(Parameter& parameter, HWND checkBox);
    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void showValue() override;
    void storeValue(int value) override;
    void refresh() override;
    void enable(bool on) override;

private:
    SkinnedCheckBox box_;
};

class SliderBinding : public ParamBinding
{
public:
    SliderBinding(Parameter& parameter, HWND trackbar, HWND nameLabel, HWND valueLabel);
    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void showValue() override;
    void storeValue(int value) override;
    void refresh() override;
    void enable(bool on) override;

protected:
    SliderBinding(Parameter& parameter, SkinnedTrackbar* trackbar, HWND nameLabel,
                  HWND valueLabel);

    std::unique_ptr<SkinnedTrackbar> trackbar_;
    SkinnedLabel name_;
    SkinnedLabel value_;
};

// A two-value parameter: value 0 is the low end, value 1 the high end that
// the thumb shows.
class RangeSliderBinding : public SliderBinding
{
public:
    RangeSliderBinding(Parameter& parameter, HWND trackbar, HWND nameLabel, HWND valueLabel);
    void showValue() override;
    void storeValue(int value) override;

    SkinnedRangeTrackbar& rangeTrackbar() const;
};

// Owns the bindings of the current page and offers reflected notifications
// to each in creation order until one takes it.
class BindingList
{
public:
    void add(ParamBinding* binding) { bindings_.emplace_back(binding); }
    void clear() { bindings_.clear(); }
    bool dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    size_t size() const { return bindings_.size(); }
    ParamBinding* at(size_t i) const { return bindings_[i].get(); }

private:
    std::vector<std::unique_ptr<ParamBinding>> bindings_;
};

// Trackbar page size for a range: a sixteenth of it, at least 2.
inline int trackbarPageSize(int minimum, int maximum)
{
    const int sixteenth = (maximum - minimum) >> 4;
    return sixteenth > 2 ? sixteenth : 2;
}
