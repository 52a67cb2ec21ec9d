#pragma once

#include <windows.h>

// Dispatches what is pending for a window (null: the whole thread) within a
// message range; a dialog's keys go through IsDialogMessage, keyboard
// messages through the accelerators when there are any. The one pump of
// loops that must keep windows alive without a message loop of their own.
class MessagePump
{
public:
    MessagePump(HWND window = nullptr, UINT first = 0, UINT last = 0, HACCEL accelerators = nullptr,
                bool dialog = false)
        : window_(window), first_(first), last_(last), accelerators_(accelerators), dialog_(dialog)
    {
    }
    // Returns when nothing is pending; false when it took WM_QUIT off the
    // queue (the caller decides whether to post it again).
    bool pumpPending();

private:
    HWND window_;
    UINT first_;
    UINT last_;
    HACCEL accelerators_;
    bool dialog_;
};
