#pragma once

#include <functional>

#include <windows.h>

#include "foundation/String.h"

// Answers save-file requests instead of the system dialog (tests): gets the
// filter, the proposed name and the preselected filter entry (1-based); sets
// the path and the chosen entry and returns true to accept.
typedef std::function<bool(const String& filter, const String& defaultName, int& filterIndex,
                           String& path)>
    SaveFileHook;
SaveFileHook setSaveFileHook(SaveFileHook hook);

// The system's save-file dialog over a "Text|*.x|...||" filter; filterIndex
// is preselected and comes back as the entry chosen (1-based).
bool askSaveFileName(HWND owner, const String& barSeparatedFilter, const String& defaultName,
                     int& filterIndex, String& path);
