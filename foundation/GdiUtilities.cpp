#include "foundation/GdiUtilities.h"

HFONT defaultGuiFont()
{
    HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
    if (!font)
        font = GetStockObject(SYSTEM_FONT);
    return static_cast<HFONT>(font);
}

int describeFont(HFONT font, LOGFONTA& logFont)
{
    return GetObjectA(font, sizeof logFont, &logFont);
}
