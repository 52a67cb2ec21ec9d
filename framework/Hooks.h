#pragma once

#include "foundation/String.h"

// Process-wide seams for what tests must control: the Control key state and
// opening a web page in the user's browser.

typedef bool (*ControlKeyQuery)();
typedef bool (*WebPageOpener)(const String& address);

// Whether the Control key is held (GetKeyState), or the installed query.
bool controlKeyDown();
// Null restores the keyboard query; returns the previous one.
ControlKeyQuery setControlKeyQuery(ControlKeyQuery query);

// ShellExecute "open" of the address; true when the system reports success.
bool openWebPage(const String& address);
WebPageOpener setWebPageOpener(WebPageOpener opener);
