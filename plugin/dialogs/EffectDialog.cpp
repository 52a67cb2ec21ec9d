#include "plugin/dialogs/EffectDialog.h"

#include "engine/Component.h"
#include "engine/ComponentSet.h"
#include "engine/applications/ApplicationPattern.h"
#include "engine/brushes/Brush.h"
#include "engine/strokes/StrokeAlgorithm.h"

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

} // namespace

CEffectDialog::CEffectDialog(ComponentSet* components, Canvas* canvas, PreviewSurface* surface,
                             PresetStoreRef* presetStore, HWND parent)
    : CEffectDialogBase(components, canvas, surface, presetStore, parent)
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
