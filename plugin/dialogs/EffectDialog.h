#pragma once

#include <vector>

#include "foundation/String.h"
#include "framework/Controls.h"
#include "plugin/dialogs/EffectDialogBase.h"

class SettingsStore;

// Component kinds, and the tab page that shows each.
enum class ComponentKind
{
    Brush = 0,
    Stroke = 1,
    Application = 2
};

// The settings dialog the doors create: the window half plus the preset
// panel (the preset list, "Save...", "Delete", "&Random Preset") and the
// component pages (tabs "Application", "Brush", "Stroke", the type combo
// listing the kind's components and the parameter rows of the current one).
// Without a preset store the preset panel does nothing.
class CEffectDialog : public CEffectDialogBase
{
public:
    CEffectDialog(ComponentSet* components, Canvas* canvas, PreviewSurface* surface,
                  PresetStoreRef* presetStore, HWND parent);
    ~CEffectDialog() override;

    bool onInitDialog() override;
    bool onCommand(UINT id, UINT code, HWND control) override;
    bool onNotify(UINT id, NMHDR* header, LRESULT& result) override;
    void rebuildComponentPage() override;

    ComponentKind pageKind() const;
    // The current component of a kind and the kind's components in order.
    Component* currentComponent(ComponentKind kind) const;
    std::vector<Component*> componentsOf(ComponentKind kind) const;
    // Selects the combo entry's component of the page's kind; rebinds and
    // asks for a preview only when the current component changed.
    void selectComponentFromCombo();

    CTabCtrl& tabs() { return tabs_; }

    // Preset panel. Entry 0 of the list is a pseudo entry (item data 0,
    // "<start here>" on the first run, "<none>" after); presets follow
    // sorted, item data 1.
    void fillPresetList();
    // Adds a preset name in sorted place behind the pseudo entry; its index.
    int insertPresetEntry(const String& name);
    // The list entry of exactly this preset name; -1 when it is not listed.
    int findPresetEntry(const String& name) const;
    // The store's preset names.
    std::vector<String> presetNames() const;
    bool hasPreset(const String& name) const;
    // Loads the list's selected preset; the pseudo entry loads nothing.
    void onPresetSelected();
    // Loads the preset into the component set and shows it; false when the
    // store has no such preset.
    bool loadPreset(const String& name);
    // Shows the preset as the dialog's current one, unchanged.
    void setPresetInfo(const String& name, const String& description);
    // Asks for a name and a description and saves the current setup.
    void onSavePreset();
    // Removes the selected preset from the store after asking.
    void onDeletePreset();
    // Ctrl-click switches between picking a stored preset and randomising
    // the components; a plain click does the current one.
    void onRandomPreset();
    bool randomParamsMode() const { return randomParamsMode_; }
    void presetsImported(int count) override;

private:
    SettingsStore* presetStore() const;
    // The index behind the last entry that does not sort after the name.
    int presetEntryEnd(const String& name) const;
    // Inserts a list entry at the index (-1: at the end); its index.
    int placeEntry(int index, const String& text, LRESULT data);
    void savePreset(const String& name, const String& description);
    void fillComponentCombo(const std::vector<Component*>& list);
    void selectComboText(const String& text);

    CTabCtrl tabs_;
    CComboBox presetList_;
    bool randomParamsMode_;
};

const int kTabControlId = 1168;
const int kTypeComboId = 1011;
const int kTypeLabelId = 1160;
const int kPresetListId = 1001;
const int kSavePresetId = 1003;
const int kDeletePresetId = 1004;
const int kRandomPresetId = 1016;
