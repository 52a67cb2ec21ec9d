#pragma once

#include <windows.h>

#include "foundation/String.h"

// One command's user-interface element during an update pass: a menu item,
// a toolbar button, a status pane, or a probe that only records the answer
// (accelerators ask whether their command is enabled).
class CCmdUI
{
public:
    enum Kind { kProbe, kMenuItem, kToolButton, kStatusPane };

    CCmdUI(UINT id, Kind kind) : id(id), kind(kind) {}

    void enable(bool on = true);
    void setCheck(bool on);
    void setText(const String& text);

    UINT id;
    Kind kind;
    // Where the element lives: the menu and item position, or the bar window
    // and the pane index.
    HMENU menu = nullptr;
    UINT index = 0;
    HWND bar = nullptr;
    // Set by a handler; an element nobody answered is disabled.
    bool handled = false;
    bool enabled = false;
};

// Something that takes commands. onCmdMsg executes the command when ui is
// null and otherwise updates the element; it returns true when this target
// (or one it routes to) has the command.
class CCmdTarget
{
public:
    virtual ~CCmdTarget() {}
    virtual bool onCmdMsg(UINT id, CCmdUI* ui);
};

// The string resource of a command split at its first "\n": the status-bar
// prompt and the short tip.
String commandPrompt(UINT id);
String commandTip(UINT id);
