#pragma once

#include <functional>

#include <windows.h>

#include "foundation/String.h"

// One message box as asked for; the caption is already resolved.
struct MessageBoxRequest
{
    HWND owner;
    String text;
    String caption;
    UINT type;
};

// Answers message boxes instead of the system (tests record and answer them).
typedef std::function<int(const MessageBoxRequest&)> MessageBoxHook;

// MessageBoxA, or the installed hook. An empty caption becomes the current
// application's title.
int showMessageBox(HWND owner, const String& text, const String& caption = String(),
                   UINT type = MB_OK);
// Installs a hook (an empty one restores the system box); returns the previous.
MessageBoxHook setMessageBoxHook(MessageBoxHook hook);
