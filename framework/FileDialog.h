#pragma once

#include <functional>

#include <windows.h>

#include "foundation/String.h"

// Characters the open and save dialogs take for a file name: room for long
// paths, so that a long default name is not cut.
const DWORD kFileNameCapacity = MAX_PATH * 4;

// "Text|*.a;*.b|All Files (*.*)|*.*||" -> the NUL-separated, double-NUL
// terminated form of the common file dialogs. A filter without the closing
// "||" is terminated all the same.
std::string fileDialogFilter(const String& barSeparated);

// Answers open-file requests instead of the system dialog: returns true and
// sets the path to accept.
typedef std::function<bool(const String& title, const String& filter, String& path)>
    OpenFileHook;
OpenFileHook setOpenFileHook(OpenFileHook hook);

// The system's open-file dialog; true with the chosen path, false when
// dismissed.
bool askOpenFileName(HWND owner, const String& title, const String& barSeparatedFilter,
                     String& path);
