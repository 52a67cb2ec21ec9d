#include "framework/MessagePump.h"

bool MessagePump::pumpPending()
{
    MSG message;
    while (PeekMessageA(&message, window_, first_, last_, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            return false;
        if (dialog_ && window_ && IsDialogMessageA(window_, &message))
            continue;
        if (accelerators_ && message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST &&
            TranslateAcceleratorA(window_ ? window_ : message.hwnd, accelerators_, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}
