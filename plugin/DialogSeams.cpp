#include "plugin/DialogSeams.h"

#include "foundation/Logger.h"

namespace {

DialogOutcome settingsDialogUnavailable(SettingsDialogRun&)
{
    currentLogger()->event("settings dialog not available: run not confirmed");
    return DialogOutcome::Unavailable;
}

void noAboutBox(HWND)
{
}

SettingsDialogRunner settingsRunner = &settingsDialogUnavailable;
AboutBoxRunner aboutRunner = &noAboutBox;

} // namespace

void setSettingsDialogRunner(SettingsDialogRunner runner)
{
    settingsRunner = runner ? runner : &settingsDialogUnavailable;
}

void setAboutBoxRunner(AboutBoxRunner runner)
{
    aboutRunner = runner ? runner : &noAboutBox;
}

DialogOutcome runSettingsDialog(SettingsDialogRun& run)
{
    return settingsRunner(run);
}

void runAboutBox(HWND owner)
{
    aboutRunner(owner);
}

HWND dialogOwner(HWND given)
{
    return given && IsWindow(given) ? given : GetActiveWindow();
}
