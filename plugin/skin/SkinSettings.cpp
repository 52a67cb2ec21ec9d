#include "plugin/skin/SkinSettings.h"

#include "foundation/PropertyReader.h"

SkinSettings& skinSettings()
{
    static SkinSettings settings = {RGB(255, 0, 255), GetSysColor(COLOR_BTNFACE), RGB(10, 10, 12),
                                    false, nullptr};
    return settings;
}

namespace {

// The background colour is the system's as the plug-in loads, not as some
// later first use finds it.
[[maybe_unused]] const SkinSettings& takenAtLoad = skinSettings();

} // namespace

void loadSkinSettings(const PropertyReader& reader)
{
    SkinSettings& s = skinSettings();
    s.transparentColour = COLORREF(reader.getInt("controls.transparentColor", int(s.transparentColour)));
    s.backgroundColour = COLORREF(reader.getInt("controls.backgroundColor", int(s.backgroundColour)));
    s.textColour = COLORREF(reader.getInt("controls.textColor", int(s.textColour)));
    s.transparent = reader.getBool("controls.transparent", s.transparent);
}
