#include "image/PaintDc.h"

PaintDc::PaintDc(HWND window_) : window(window_)
{
    ZeroMemory(&paint, sizeof paint);
    attach(BeginPaint(window, &paint), false);
}

PaintDc::~PaintDc()
{
    EndPaint(window, &paint);
}
