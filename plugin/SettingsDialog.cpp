#include "plugin/SettingsDialog.h"

#include <memory>

#include "engine/Canvas.h"
#include "engine/ComponentSet.h"
#include "foundation/PropertyReader.h"
#include "foundation/PropertyWriter.h"
#include "foundation/SessionSettingsStore.h"
#include "foundation/SettingsStore.h"
#include "image/OwnedBitmap.h"
#include "plugin/PresetStore.h"
#include "plugin/PreviewSurface.h"
#include "plugin/dialogs/EffectDialog.h"

namespace {

bool previewableFormat(int format)
{
    return format >= 4 && format <= 7;
}

} // namespace

INT_PTR runEffectDialog(SettingsDialogSession& session)
{
    const Image* source = session.source;
    if (!session.components || !source || source->isEmpty() ||
        !previewableFormat(source->format()))
        return -1;

    // The engine reads the reference only; the brushes write the preview's
    // own target.
    Image reference(source->width(), source->height(), source->bits(), source->stride(),
                    source->format());
    OwnedBitmap target;
    if (!target.create(source->width(), source->height(), source->format()))
        return -1;
    target.copyFrom(reference);

    Canvas canvas = Canvas::whole(reference, target);

    BitmapPreviewSurface ownSurface;
    PreviewSurface* surface = session.surface ? session.surface : &ownSurface;
    std::unique_ptr<IniFile> scratchPresets;
    IniFile* presets = session.presets;
    if (!presets) {
        scratchPresets.reset(new IniFile(String()));
        presets = scratchPresets.get();
    }
    PresetStoreRef presetRef(presets);

    CEffectDialog dialog(session.components, &canvas, surface, &presetRef, session.owner);
    if (session.painter)
        dialog.setPainter(session.painter);
    dialog.presetName = session.presetName;
    dialog.paramsChanged = session.paramsChanged;
    const INT_PTR result = dialog.doModal();
    if (result == IDOK) {
        session.presetName = dialog.presetName;
        session.paramsChanged = dialog.paramsChanged;
    }
    if (scratchPresets)
        scratchPresets->modified = false;
    return result;
}

DialogOutcome editCurrentSetup(SettingsStore& working, const Image& source, HWND owner,
                               FilterRecord* filterRecord, SettingsStore* into)
{
    const PropertyReader& current = working.sectionReader("_current");
    ComponentSet components(current);
    SettingsDialogRun run{components,
                          source,
                          owner,
                          filterRecord,
                          current.getString("name", ""),
                          current.getBool("paramschanged", false)};
    const DialogOutcome outcome = runSettingsDialog(run);
    if (outcome != DialogOutcome::Applied)
        return outcome;
    SettingsStore& target = into ? *into : working;
    PropertyWriter& out = target.sectionWriter("_current");
    components.save(out);
    out.setString("name", run.presetName);
    out.setString("paramschanged", run.paramsChanged ? "1" : "0");
    target.modified = true;
    return outcome;
}
