#pragma once

#include <windows.h>

#include "foundation/String.h"

class ComponentSet;
class Image;
struct FilterRecord;

// Where the entry points hand over to the plug-in's dialogs; the settings
// dialog is replaceable through its setter for tests. The owner given is the
// host's window as the host named it; a dialog whose owner is no window takes
// the calling thread's active window.

enum class DialogOutcome
{
    Applied,
    Cancelled,
    Unavailable // nothing to show, or the dialog could not be made
};

// What the settings dialog works on. The built-in runner opens the preset
// store for the dialog and saves and closes it before it returns. On Applied
// the caller saves the component set with presetName and paramsChanged.
struct SettingsDialogRun
{
    ComponentSet& components;
    const Image& source; // only read: the preview paints a copy of its own
    HWND owner;
    FilterRecord* filterRecord; // the filter host's record; null for the shell
    String presetName;
    bool paramsChanged;
};

typedef DialogOutcome (*SettingsDialogRunner)(SettingsDialogRun& run);

// Null puts the built-in dialog back.
void setSettingsDialogRunner(SettingsDialogRunner runner);

DialogOutcome runSettingsDialog(SettingsDialogRun& run);
void runAboutBox(HWND owner);
