#pragma once

#include <windows.h>

// Shows the hourglass for its lifetime and puts the previous cursor back.
class WaitCursor
{
public:
    WaitCursor() : previous_(SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)))) {}
    ~WaitCursor() { SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};
