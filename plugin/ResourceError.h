#pragma once

#include <windows.h>

// Shows the plug-in's string of the given id (at most 512 bytes) in a stop
// box captioned with the filter caption, without owner. Kept for hosts that
// lack what the filter needs; the filter road does not call it.
void showResourceError(UINT stringId);
