#pragma once

#include <windows.h>

// DEFAULT_GUI_FONT, or SYSTEM_FONT when that stock object is missing.
HFONT defaultGuiFont();
// GetObjectA of the font into a LOGFONTA; the number of bytes written.
int describeFont(HFONT font, LOGFONTA& logFont);
