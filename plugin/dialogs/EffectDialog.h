#pragma once

#include <vector>

#include "framework/Controls.h"
#include "plugin/dialogs/EffectDialogBase.h"

// Component kinds, and the tab page that shows each.
enum class ComponentKind
{
    Brush = 0,
    Stroke = 1,
    Application = 2
};

// The settings dialog the doors create: the window half plus the component
// pages (tabs "Application", "Brush", "Stroke", the type combo listing the
// kind's components and the parameter rows of the current one).
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

private:
    void fillComponentCombo(const std::vector<Component*>& list);
    void selectComboText(const String& text);

    CTabCtrl tabs_;
};

const int kTabControlId = 1168;
const int kTypeComboId = 1011;
const int kTypeLabelId = 1160;
