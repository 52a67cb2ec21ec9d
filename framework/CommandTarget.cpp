#include "framework/CommandTarget.h"

#include <commctrl.h>

#include "framework/Resources.h"

void CCmdUI::enable(bool on)
{
    handled = true;
    enabled = on;
    switch (kind) {
    case kMenuItem:
        EnableMenuItem(menu, index, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
        break;
    case kToolButton:
        SendMessageA(bar, TB_ENABLEBUTTON, id, MAKELPARAM(on ? TRUE : FALSE, 0));
        break;
    default:
        break;
    }
}

void CCmdUI::setCheck(bool on)
{
    switch (kind) {
    case kMenuItem:
        CheckMenuItem(menu, index, MF_BYPOSITION | (on ? MF_CHECKED : MF_UNCHECKED));
        break;
    case kToolButton:
        SendMessageA(bar, TB_CHECKBUTTON, id, MAKELPARAM(on ? TRUE : FALSE, 0));
        break;
    default:
        break;
    }
}

void CCmdUI::setText(const String& text)
{
    switch (kind) {
    case kMenuItem: {
        const UINT state = GetMenuState(menu, index, MF_BYPOSITION);
        ModifyMenuA(menu, index, MF_BYPOSITION | MF_STRING | (state & (MF_GRAYED | MF_CHECKED)),
                    id, text.c_str());
        break;
    }
    case kStatusPane:
        SendMessageA(bar, SB_SETTEXTA, index, reinterpret_cast<LPARAM>(text.c_str()));
        break;
    default:
        break;
    }
}

bool CCmdTarget::onCmdMsg(UINT, CCmdUI*)
{
    return false;
}

String commandPrompt(UINT id)
{
    const String text = loadResourceString(id);
    const size_t cut = text.find('\n');
    return cut == String::npos ? text : String(text.substr(0, cut));
}

String commandTip(UINT id)
{
    const String text = loadResourceString(id);
    const size_t cut = text.find('\n');
    return cut == String::npos ? String() : String(text.substr(cut + 1));
}
