#pragma once

#include <windows.h>

class PropertyReader;

// The colours and font every skinned control of the process draws with.
struct SkinSettings
{
    COLORREF transparentColour;
    COLORREF backgroundColour;
    COLORREF textColour;
    bool transparent;
    // The settings dialog's font; null until a dialog sets it.
    HFONT dialogFont;
};

SkinSettings& skinSettings();
// "controls.transparentColor", "controls.backgroundColor",
// "controls.textColor" (integers) and "controls.transparent" (bool), each
// defaulting to its current value.
void loadSkinSettings(const PropertyReader& reader);
