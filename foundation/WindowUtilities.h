#pragma once

#include "foundation/String.h"

#include <windows.h>

// 0 on success, 1 on failure.
int registerWindowClass(const char* className, UINT style, const char* iconName, WNDPROC procedure);
String windowClassName(HWND window);
// Layered-window transparency through SetLayeredWindowAttributes looked up at
// run time. alpha > 0 sets LWA_ALPHA, a colour key other than -1 LWA_COLORKEY.
bool setLayeredAlpha(HWND window, BYTE alpha, int colourKey);
