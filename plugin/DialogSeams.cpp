#include "plugin/DialogSeams.h"

#include "foundation/Logger.h"
#include "plugin/dialogs/AboutDialog.h"

namespace {

DialogOutcome settingsDialogUnavailable(SettingsDialogRun&)
{
    currentLogger()->event("settings dialog not available: run not confirmed");
    return DialogOutcome::Unavailable;
}

void showAboutBox(HWND owner)
{
    CAboutDialog dialog(owner);
    dialog.doModal();
}

SettingsDialogRunner settingsRunner = &settingsDialogUnavailable;
AboutBoxRunner aboutRunner = &showAboutBox;

} // namespace

void setSettingsDialogRunner(SettingsDialogRunner runner)
{
    settingsRunner = runner ? runner : &settingsDialogUnavailable;
}

void setAboutBoxRunner(AboutBoxRunner runner)
{
    aboutRunner = runner ? runner : &showAboutBox;
}

DialogOutcome runSettingsDialog(SettingsDialogRun& run)
{
    return settingsRunner(run);
}

void runAboutBox(HWND owner)
{
    aboutRunner(owner);
}
