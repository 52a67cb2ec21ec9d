#pragma once

#include <windows.h>

#include "foundation/String.h"

// Resources of the current application's resource module (the plug-in DLL
// inside a host, never the host program).

// The string of the id (at most 1023 bytes), empty when there is none.
String loadResourceString(UINT id);
// The cursor of the id, or the standard arrow when the module lacks it.
HCURSOR loadResourceCursor(UINT id);
