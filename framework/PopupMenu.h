#pragma once

#include <windows.h>

#include "foundation/String.h"

// An owned popup menu, destroyed with the object.
class PopupMenu
{
public:
    PopupMenu();
    ~PopupMenu();
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    bool append(UINT id, const String& text);
    bool appendSeparator();
    // TrackPopupMenu with TPM_RETURNCMD added: the chosen command, 0 when
    // the menu was dismissed.
    UINT track(HWND owner, POINT screenPoint, UINT flags);
    HMENU handle() const { return menu_; }

private:
    HMENU menu_;
};
