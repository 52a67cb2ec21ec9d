#pragma once

#include "foundation/IniFile.h"
#include "foundation/String.h"

// "DaubcrafterPresets.ini".
extern const char kPresetFileName[];

// The folders the preset file is looked for in, each ending with a
// separator: beside the DLL, below Program Files, and the per-user folder
// that takes the presets when neither can be written.
struct PresetLocations
{
    String moduleFolder;
    String programFilesFolder;
    String userFolder;
};

// Replaces the folders for tests; null restores the real ones.
typedef PresetLocations (*PresetLocationsQuery)();
PresetLocationsQuery setPresetLocationsQuery(PresetLocationsQuery query);

// The preset file as an INI store. Saving creates the file's folder when it
// is missing; when the file still cannot be written there (Program Files is
// usually read-only) the presets go to the per-user folder and the user is
// told once per process where they went. The old file is never touched by a
// failed save.
class PresetStore : public IniFile
{
public:
    PresetStore(const String& path, const String& fallbackPath);
    ~PresetStore() override;

    void flush() override;
    // Where a save goes when the own path refuses it.
    const String& fallbackPath() const { return fallbackPath_; }

private:
    String fallbackPath_;
};

// Beside the DLL when the file is there; else the per-user copy when an
// earlier save had to go there; else below Program Files, whether it exists
// or not. Never null; an unreadable file
// gives an empty store.
PresetStore* openPresetStore();
// The path openPresetStore would open.
String presetStorePath(const PresetLocations& where);

// A non-owning handle on the preset store handed to the settings dialog.
class PresetStoreRef
{
public:
    explicit PresetStoreRef(IniFile* store) : store(store) {}
    virtual ~PresetStoreRef() {}

    IniFile* store;
};
