#pragma once

#include "image/DcHolder.h"

#include <windows.h>

// The DC of one WM_PAINT cycle: BeginPaint on construction, EndPaint on
// destruction. The DC is held, never deleted.
class PaintDc : public DcHolder
{
public:
    explicit PaintDc(HWND window);
    ~PaintDc() override;
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;

    HWND window;
    PAINTSTRUCT paint;
};
