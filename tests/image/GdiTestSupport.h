#pragma once

#include <windows.h>

// A hidden top-level window for clipboard ownership and painting tests.
class TestWindow
{
public:
    explicit TestWindow(const char* className = "STATIC", DWORD style = WS_OVERLAPPEDWINDOW);
    ~TestWindow();
    HWND handle() const { return window_; }

private:
    HWND window_;
};

// OpenClipboard with a few retries: another process may hold it briefly.
bool openClipboardPatiently(HWND owner);
