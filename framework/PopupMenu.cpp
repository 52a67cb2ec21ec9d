#include "framework/PopupMenu.h"

PopupMenu::PopupMenu() : menu_(CreatePopupMenu())
{
}

PopupMenu::~PopupMenu()
{
    if (menu_)
        DestroyMenu(menu_);
}

bool PopupMenu::append(UINT id, const String& text)
{
    return menu_ && AppendMenuA(menu_, MF_STRING, id, text.c_str());
}

bool PopupMenu::appendSeparator()
{
    return menu_ && AppendMenuA(menu_, MF_SEPARATOR, 0, nullptr);
}

UINT PopupMenu::track(HWND owner, POINT point, UINT flags)
{
    if (!menu_)
        return 0;
    // The owner must be foreground or the menu does not close when the user
    // clicks elsewhere.
    SetForegroundWindow(owner);
    const BOOL chosen = TrackPopupMenu(menu_, flags | TPM_RETURNCMD | TPM_NONOTIFY, point.x,
                                       point.y, 0, owner, nullptr);
    PostMessageA(owner, WM_NULL, 0, 0);
    return chosen > 0 ? UINT(chosen) : 0;
}
