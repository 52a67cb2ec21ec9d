#pragma once

#include <windows.h>

#include "foundation/String.h"

class ComponentSet;
struct Canvas;
struct FilterRecord;

// Where the entry points hand over to the plug-in's dialogs, replaceable
// through the setters. Until the settings dialog plugs in it answers
// Unavailable (the caller treats that as a cancel). The owner given is the
// host's window as the host named it; the dialogs resolve a usable owner.

enum class DialogOutcome
{
    Applied,
    Cancelled,
    Unavailable
};

// What the settings dialog works on. The runner opens the preset store for
// the dialog and saves and closes it before it returns. On Applied the
// caller saves the component set with presetName and paramsChanged.
struct SettingsDialogRun
{
    ComponentSet& components;
    Canvas& canvas;
    HWND owner;
    FilterRecord* filterRecord; // the filter host's record; null for the shell
    String presetName;
    bool paramsChanged;
};

typedef DialogOutcome (*SettingsDialogRunner)(SettingsDialogRun& run);
typedef void (*AboutBoxRunner)(HWND owner);

// Null puts the built-in stand-in back.
void setSettingsDialogRunner(SettingsDialogRunner runner);
void setAboutBoxRunner(AboutBoxRunner runner);

DialogOutcome runSettingsDialog(SettingsDialogRun& run);
void runAboutBox(HWND owner);
