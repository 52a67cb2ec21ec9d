#pragma once

#include "foundation/String.h"

class PropertyBag;
class SettingsStore;

// "dw1": the preset record type written into every preset.
extern const char kPresetType[];

// Merges the presets of the INI file at `path` into the store: a section
// without a readable "lastedit" is skipped, a new name is taken whole, an
// existing one only when the imported "lastedit" is later. Keys that only
// the stored section has stay. Returns how many sections were taken; an
// unreadable file takes none. The source file is never written.
int importPresetFile(SettingsStore& store, const String& path);

// Gives every section of the store every key of the template (empty when it
// lacks one), a "name" (the section name) and "author" (defaultAuthor) when
// those are empty, and "type" "dw1".
void fillPresetDefaults(SettingsStore& store, PropertyBag& keyTemplate,
                        const String& defaultAuthor);
