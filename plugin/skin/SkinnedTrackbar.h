#pragma once

#include "plugin/skin/SkinnedControl.h"

class ValueListener;

// A trackbar whose channel is drawn in the skin's colours and whose moves,
// including the mouse wheel (one unit per notch), reach the listener.
class SkinnedTrackbar : public SkinnedControl
{
public:
    SkinnedTrackbar(HWND control, ValueListener* listener);
    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    virtual void valueChanged(int position);
    virtual void drawChannel(HDC dc, const RECT& rect, LONG style);

protected:
    // The channel without any span: background, flat edge, light fill.
    void drawPlainChannel(HDC dc, const RECT& rect);
    int rangeMin() const;
    int rangeMax() const;

    ValueListener* listener_;
};

// A trackbar that also shows a span from low to high: blue when low <= high,
// red when high < low. Moving it without Control collapses the span to the
// new position; with Control held only the high end follows.
class SkinnedRangeTrackbar : public SkinnedTrackbar
{
public:
    static const COLORREF kDefaultSpanColour = RGB(20, 20, 220);
    static const COLORREF kDefaultReversedColour = RGB(220, 20, 20);

    SkinnedRangeTrackbar(HWND control, ValueListener* listener);

    void valueChanged(int position) override;
    void drawChannel(HDC dc, const RECT& rect, LONG style) override;

    int low;
    int high;
    COLORREF spanColour;
    COLORREF reversedColour;
};
