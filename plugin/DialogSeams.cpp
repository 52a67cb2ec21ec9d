#include "plugin/DialogSeams.h"

#include <memory>
#include <optional>

#include "foundation/Logger.h"
#include "plugin/FilterPreviewSurface.h"
#include "plugin/PresetStore.h"
#include "plugin/PreviewSurface.h"
#include "plugin/SettingsDialog.h"
#include "plugin/dialogs/AboutDialog.h"

namespace {

DialogOutcome showSettingsDialog(SettingsDialogRun& run)
{
    std::unique_ptr<PresetStore> presets(openPresetStore());
    BitmapPreviewSurface bitmapSurface;
    std::optional<FilterPreviewSurface> hostSurface;
    PreviewSurface* surface = &bitmapSurface;
    if (run.filterRecord) {
        hostSurface.emplace(*run.filterRecord);
        surface = &*hostSurface;
    }
    SettingsDialogSession session;
    session.components = &run.components;
    session.source = &run.source;
    session.owner = run.owner;
    session.presets = presets.get();
    session.surface = surface;
    session.presetName = run.presetName;
    session.paramsChanged = run.paramsChanged;
    const INT_PTR result = runEffectDialog(session);
    // Closing the store saves it when the dialog changed the presets.
    presets.reset();
    if (result == IDOK) {
        run.presetName = session.presetName;
        run.paramsChanged = session.paramsChanged;
        return DialogOutcome::Applied;
    }
    if (result == -1) {
        currentLogger()->event("settings dialog could not be shown: run not confirmed");
        return DialogOutcome::Unavailable;
    }
    return DialogOutcome::Cancelled;
}

SettingsDialogRunner settingsRunner = &showSettingsDialog;

} // namespace

void setSettingsDialogRunner(SettingsDialogRunner runner)
{
    settingsRunner = runner ? runner : &showSettingsDialog;
}

DialogOutcome runSettingsDialog(SettingsDialogRun& run)
{
    return settingsRunner(run);
}

void runAboutBox(HWND owner)
{
    CAboutDialog dialog(owner);
    dialog.doModal();
}
