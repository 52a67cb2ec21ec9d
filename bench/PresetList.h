#pragma once

#include <string>
#include <vector>

#include "foundation/Exception.h"
#include "foundation/IniText.h"
#include "foundation/SessionSettingsStore.h"
#include "foundation/StringBuffer.h"

// The renders the benchmark times and the render-hash test pins: settings
// text as a host hands it in, under a name.
struct NamedPreset
{
    std::string name;
    std::string text;
};

// The built-in defaults, then one preset per brush.
inline std::vector<NamedPreset> builtInPresets()
{
    std::vector<NamedPreset> presets = {{"default", ""}};
    const char* brushes[] = {"_SwapPoint", "_swaprgb", "_swaphsv", "_swapblend",
                             "_ImageCopyBrush", "_ColorPointBrush"};
    for (const char* b : brushes)
        presets.push_back({b, std::string("[_current]\r\nbrush.id=") + b + "\r\n"});
    return presets;
}

// Appends every section of a preset file as the working section
// "_current"; false when the file cannot be read.
inline bool appendFilePresets(const std::string& path, std::vector<NamedPreset>& presets)
{
    SessionSettingsStore file;
    try {
        loadIniFile(path, file);
    } catch (const Exception&) {
        return false;
    }
    for (const String& name : file.sectionNames()) {
        SessionSettingsStore working;
        working.section("_current") = file.findSection(name);
        StringBuffer text;
        writeIni(text, working);
        presets.push_back({name, text});
    }
    return true;
}
