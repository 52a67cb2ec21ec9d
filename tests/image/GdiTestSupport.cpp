#include "GdiTestSupport.h"

TestWindow::TestWindow(const char* className, DWORD style)
    : window_(CreateWindowExA(0, className, "test", style, 10, 10, 200, 150, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr))
{
}

TestWindow::~TestWindow()
{
    if (window_)
        DestroyWindow(window_);
}

bool openClipboardPatiently(HWND owner)
{
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (OpenClipboard(owner))
            return true;
        Sleep(20);
    }
    return false;
}
