#pragma once

#include <windows.h>

#include "foundation/String.h"
#include "plugin/DialogSeams.h"

class ComponentSet;
class Image;
class IniFile;
class Painter;
class PreviewSurface;
class SettingsStore;
struct FilterRecord;

// What one run of the settings dialog works on. The picture is only read:
// the preview paints a copy of its own, so a cancelled dialog leaves every
// caller buffer as it was.
struct SettingsDialogSession
{
    ComponentSet* components = nullptr; // the setup being edited (required)
    const Image* source = nullptr;      // the picture; formats 4 to 7
    HWND owner = nullptr;
    IniFile* presets = nullptr;         // null: an empty store for this run
    PreviewSurface* surface = nullptr;  // null: a bitmap surface of the run's own
    Painter* painter = nullptr;         // null: the component set paints
    String presetName;                  // in and, after IDOK, out
    bool paramsChanged = false;         // in and, after IDOK, out
};

// Shows the dialog modally. IDOK when applied, IDCANCEL when left any other
// way, -1 when there is nothing to show (no component set, or a picture
// that is empty or of another format) or the dialog could not be made.
INT_PTR runEffectDialog(SettingsDialogSession& session);

// Both doors' dialog step: edits the working store's "_current" setup over
// the picture through the settings dialog seam (runSettingsDialog). On Apply
// the "_current" of `into` (the working store when null) gets the chosen
// components and values with "name" and "paramschanged" "1" or "0"; its
// other keys and sections stay as they were. Any other outcome changes no
// store.
DialogOutcome editCurrentSetup(SettingsStore& working, const Image& source, HWND owner,
                               FilterRecord* filterRecord = nullptr, SettingsStore* into = nullptr);
