#include "plugin/dialogs/EffectDialog.h"

#include <algorithm>

#include "engine/Component.h"
#include "engine/ComponentSet.h"
#include "engine/applications/ApplicationPattern.h"
#include "engine/brushes/Brush.h"
#include "engine/strokes/StrokeAlgorithm.h"
#include "foundation/PropertyReader.h"
#include "foundation/PropertyWriter.h"
#include "foundation/SettingsStore.h"
#include "framework/Hooks.h"
#include "framework/MessageBox.h"
#include "plugin/PresetRecords.h"
#include "plugin/PresetStore.h"
#include "plugin/dialogs/PresetPanel.h"
#include "plugin/dialogs/PresetSaveDialog.h"

namespace {

const char* typeWord(ComponentKind kind)
{
    switch (kind) {
    case ComponentKind::Brush:
        return "brush";
    case ComponentKind::Stroke:
        return "stroke";
    default:
        return "application";
    }
}

template <class T>
std::vector<Component*> listOf(const T& slots, int count)
{
    std::vector<Component*> list;
    for (int i = 0; i < count && i < int(slots.size()) && slots[i]; ++i)
        list.push_back(slots[i].get());
    return list;
}

// The preset list's order: the user's locale, case ignored.
bool presetNameLess(const String& a, const String& b)
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), int(a.size()),
                          b.c_str(), int(b.size())) == CSTR_LESS_THAN;
}

} // namespace

CEffectDialog::CEffectDialog(ComponentSet* components, Canvas* canvas, PreviewSurface* surface,
                             PresetStoreRef* presetStore, HWND parent)
    : CEffectDialogBase(components, canvas, surface, presetStore, parent),
      randomParamsMode_(false)
{
}

CEffectDialog::~CEffectDialog()
{
    // The bindings go before the tab wrapper and the controls they took over.
    unbindPageControls();
}

bool CEffectDialog::onInitDialog()
{
    CEffectDialogBase::onInitDialog();
    addTool(kSavePresetId, "add current settings\n to saved presets");
    addTool(kDeletePresetId, "remove currently selected preset\n from saved presets");
    addTool(kRandomPresetId,
            "select random preset\n (ctrl-click to switch to randomized settings)");
    addTool(kTabControlId, "select the filter component to edit");
    addTool(kTypeLabelId, "select brush type");
    for (int r = 0; r < kParameterRows; ++r)
        addTool(nameLabelId(r), "");
    for (int k = 0; k < kParameterCheckBoxes; ++k)
        addTool(checkBoxId(k), "");
    tabs_.subclassDlgItem(kTabControlId, hwnd_);
    tabs_.insertItem(0, "Application");
    tabs_.insertItem(1, "Brush");
    tabs_.insertItem(2, "Stroke");
    tabs_.setCurrentSelection(0);
    tabs_.setToolTips(tooltips_.hwnd());
    presetList_.subclassDlgItem(kPresetListId, hwnd_);
    fillPresetList();
    rebuildComponentPage();
    return true;
}

ComponentKind CEffectDialog::pageKind() const
{
    switch (tabs_.isWindow() ? tabs_.currentSelection() : 0) {
    case 1:
        return ComponentKind::Brush;
    case 2:
        return ComponentKind::Stroke;
    default:
        return ComponentKind::Application;
    }
}

Component* CEffectDialog::currentComponent(ComponentKind kind) const
{
    if (!components_)
        return nullptr;
    switch (kind) {
    case ComponentKind::Brush:
        return components_->currentBrush;
    case ComponentKind::Stroke:
        return components_->currentStroke;
    default:
        return components_->currentApplication;
    }
}

std::vector<Component*> CEffectDialog::componentsOf(ComponentKind kind) const
{
    if (!components_)
        return {};
    switch (kind) {
    case ComponentKind::Brush:
        return listOf(components_->brushes, components_->brushCount);
    case ComponentKind::Stroke:
        return listOf(components_->strokes, components_->strokeCount);
    default:
        return listOf(components_->applications, components_->applicationCount);
    }
}

void CEffectDialog::fillComponentCombo(const std::vector<Component*>& list)
{
    sendItem(kTypeComboId, CB_RESETCONTENT);
    for (size_t i = 0; i < list.size(); ++i) {
        const LRESULT at =
            sendItem(kTypeComboId, CB_ADDSTRING, 0, LPARAM(list[i]->displayName.c_str()));
        if (at >= 0)
            sendItem(kTypeComboId, CB_SETITEMDATA, WPARAM(at), LPARAM(i));
    }
}

void CEffectDialog::selectComboText(const String& text)
{
    const LRESULT found = sendItem(kTypeComboId, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(text.c_str()));
    if (found >= 0)
        sendItem(kTypeComboId, CB_SETCURSEL, WPARAM(found));
}

void CEffectDialog::rebuildComponentPage()
{
    unbindPageControls();
    const ComponentKind kind = pageKind();
    Component* current = currentComponent(kind);
    updateTip(kTypeLabelId, String("select ") + typeWord(kind) + " type");
    fillComponentCombo(componentsOf(kind));
    if (current)
        selectComboText(current->displayName);
    bindPageControls(current);
}

void CEffectDialog::selectComponentFromCombo()
{
    resetProgress();
    const LRESULT selection = sendItem(kTypeComboId, CB_GETCURSEL);
    if (selection < 0)
        return;
    const LRESULT index = sendItem(kTypeComboId, CB_GETITEMDATA, WPARAM(selection));
    if (index < 0 || !components_)
        return;
    bool changed = false;
    switch (pageKind()) {
    case ComponentKind::Brush:
        changed = components_->selectBrush(int(index));
        break;
    case ComponentKind::Stroke:
        changed = components_->selectStroke(int(index));
        break;
    default:
        changed = components_->selectApplication(int(index));
        break;
    }
    if (!changed)
        return;
    rebuildComponentPage();
    requestPreview();
}

bool CEffectDialog::onCommand(UINT id, UINT code, HWND control)
{
    if (id == UINT(kTypeComboId) && code == CBN_SELCHANGE) {
        selectComponentFromCombo();
        return true;
    }
    if (id == UINT(kPresetListId) && code == CBN_SELCHANGE) {
        onPresetSelected();
        return true;
    }
    if (code == BN_CLICKED && control) {
        switch (id) {
        case kSavePresetId:
            onSavePreset();
            return true;
        case kDeletePresetId:
            onDeletePreset();
            return true;
        case kRandomPresetId:
            onRandomPreset();
            return true;
        default:
            break;
        }
    }
    return CEffectDialogBase::onCommand(id, code, control);
}

bool CEffectDialog::onNotify(UINT id, NMHDR* header, LRESULT& result)
{
    if (id == UINT(kTabControlId) && header->code == UINT(TCN_SELCHANGE)) {
        rebuildComponentPage();
        result = 0;
        return true;
    }
    return CEffectDialogBase::onNotify(id, header, result);
}

// ---- Preset panel ----

SettingsStore* CEffectDialog::presetStore() const
{
    return presetStore_ ? presetStore_->store : nullptr;
}

std::vector<String> CEffectDialog::presetNames() const
{
    std::vector<String> names;
    if (SettingsStore* store = presetStore())
        for (const String& name : store->sectionNames())
            // Lines before the first section of a file land in a nameless one.
            if (!name.empty())
                names.push_back(name);
    return names;
}

bool CEffectDialog::hasPreset(const String& name) const
{
    SettingsStore* store = presetStore();
    return store && !name.empty() && store->hasSection(name);
}

void CEffectDialog::fillPresetList()
{
    std::vector<String> names = presetNames();
    std::stable_sort(names.begin(), names.end(), presetNameLess);
    size_t bytes = 16;
    for (const String& name : names)
        bytes += name.size() + 1;
    // Appended in order behind the pseudo entry: the list's own sorting would
    // put a name such as "1980s" or "!draft" in front of "<none>".
    presetList_.send(WM_SETREDRAW, FALSE);
    presetList_.resetContent();
    presetList_.send(CB_INITSTORAGE, WPARAM(names.size() + 1), LPARAM(bytes));
    placeEntry(-1, firstRun() ? "<start here>" : "<none>", 0);
    for (const String& name : names)
        placeEntry(-1, name, 1);
    presetList_.send(WM_SETREDRAW, TRUE);
    presetList_.setCurrentSelection(0);
}

int CEffectDialog::presetEntryEnd(const String& name) const
{
    // Behind every entry that does not sort after the name, and never in
    // front of the pseudo entry.
    int low = 1, high = presetList_.count();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (presetNameLess(name, presetList_.itemText(middle)))
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

int CEffectDialog::insertPresetEntry(const String& name)
{
    const int at = presetEntryEnd(name);
    return placeEntry(at < presetList_.count() ? at : -1, name, 1);
}

int CEffectDialog::findPresetEntry(const String& name) const
{
    // Names that differ in case only sort together, just in front of the end.
    for (int at = presetEntryEnd(name) - 1; at > 0; --at) {
        const String text = presetList_.itemText(at);
        if (text == name)
            return at;
        if (presetNameLess(text, name))
            break;
    }
    return -1;
}

int CEffectDialog::placeEntry(int index, const String& text, LRESULT data)
{
    const int at = presetList_.insertString(index, text);
    if (at >= 0)
        presetList_.setItemData(at, data);
    return at;
}

void CEffectDialog::setPresetInfo(const String& name, const String& description)
{
    presetName = name;
    presetDescription = description;
    paramsChanged = false;
    updateStatusText();
}

bool CEffectDialog::loadPreset(const String& name)
{
    if (!hasPreset(name) || !components_)
        return false;
    const PropertyReader& section = presetStore()->sectionReader(name);
    components_->load(section);
    setPresetInfo(name, presetTooltipText(section.getString("author", ""),
                                          section.getString("description", "")));
    rebuildComponentPage();
    schedulePreview();
    return true;
}

void CEffectDialog::onPresetSelected()
{
    resetProgress();
    const int selection = presetList_.currentSelection();
    if (selection < 0 || presetList_.itemData(selection) < 0)
        return;
    loadPreset(presetList_.itemText(selection));
}

void CEffectDialog::savePreset(const String& name, const String& description)
{
    SettingsStore* store = presetStore();
    PropertyWriter& section = store->sectionWriter(name);
    store->modified = true;
    section.setString("description", description);
    section.setString("name", name);
    section.setString("author", authorName());
    section.setString("type", kPresetType);
    components_->save(section);
}

void CEffectDialog::onSavePreset()
{
    if (!presetStore() || !components_)
        return;
    String name, description;
    bool isNew = true;
    for (;;) {
        CPresetSaveDialog ask(hwnd_, name, description);
        if (ask.doModal() != IDOK)
            return;
        name = cleanPresetName(ask.name);
        description = cleanPresetDescription(ask.description);
        if (name.empty()) {
            showMessageBox(hwnd_, "empty name!", String(), MB_OK);
            continue;
        }
        if (hasPreset(name)) {
            const String question =
                String::fromFormat("setting name %s exists - overwrite?", name.c_str());
            if (showMessageBox(hwnd_, question, "overwrite?", MB_YESNO) != IDYES)
                continue;
            isNew = false;
        }
        break;
    }
    savePreset(name, description);
    setPresetInfo(name, presetTooltipText(authorName(), description));
    if (isNew) {
        const int at = insertPresetEntry(name);
        if (at >= 0)
            presetList_.setCurrentSelection(at);
    }
}

void CEffectDialog::onDeletePreset()
{
    const int selection = presetList_.currentSelection();
    if (selection < 0 || presetList_.itemData(selection) <= 0 || !presetStore())
        return;
    const String name = presetList_.itemText(selection);
    const String question = "Are you sure you want to delete setting \"" + name + "\"?";
    if (showMessageBox(hwnd_, question, String(), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (presetStore()->removeSection(name) == 0)
        return;
    presetList_.deleteString(selection);
    presetList_.setCurrentSelection(0);
}

void CEffectDialog::onRandomPreset()
{
    if (controlKeyDown()) {
        randomParamsMode_ = !randomParamsMode_;
        setItemText(kRandomPresetId, randomParamsMode_ ? "&Random Params" : "&Random Preset");
        return;
    }
    resetProgress();
    if (randomParamsMode_) {
        if (!components_)
            return;
        components_->randomize();
        setPresetInfo("random", String());
        rebuildComponentPage();
        schedulePreview();
        presetList_.setCurrentSelection(0);
        return;
    }
    const int entry = randomPresetEntry(presetList_.count(), GetTickCount());
    if (entry < 0)
        return;
    presetList_.setCurrentSelection(entry);
    resetProgress();
    if (presetList_.itemData(entry) < 0)
        return;
    loadPreset(presetList_.itemText(entry));
}

void CEffectDialog::presetsImported(int count)
{
    // Nothing taken (an unreadable file among others): the list and its
    // selection stay as they are.
    if (count <= 0)
        return;
    // The preset the list showed stays shown: Delete acts on it.
    const int selection = presetList_.currentSelection();
    const String chosen = selection > 0 && presetList_.itemData(selection) > 0
                              ? presetList_.itemText(selection)
                              : String();
    fillPresetList();
    const int at = chosen.empty() ? -1 : findPresetEntry(chosen);
    if (at > 0)
        presetList_.setCurrentSelection(at);
}
