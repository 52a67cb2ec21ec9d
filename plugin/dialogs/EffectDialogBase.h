#pragma once

#include <vector>

#include "engine/RenderCallbacks.h"
#include "foundation/String.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "plugin/ParamBinding.h"
#include "plugin/PreviewWnd.h"

class Component;
class ComponentSet;
class Painter;
class Parameter;
class PresetStoreRef;
class PreviewSurface;
struct Canvas;

// Posted to the dialog (wParam 101) to paint the preview.
const UINT WM_UPDATE_PREVIEW = 2004;
const WPARAM kUpdatePreviewTag = 101;
const UINT_PTR kPreviewTimerId = 120;
const UINT kPreviewTimerPeriod = 70;

// Context menu commands.
enum : UINT
{
    kCommandToggleHand = 32,
    kCommandAuthorName = 37,
    kCommandImportPresets = 39,
    kCommandAbout = 48,
    kCommandQuickHelp = 66,
};

// The window half of the settings dialog: layout by hand, tooltips, the
// paced live preview with its progress strip, zoom, the automatic-preview
// switch, Help and the context menu. The dialog is the progress sink of
// every preview paint and the change listener of every bound parameter.
//
// A preview paint runs inside the WM_UPDATE_PREVIEW handler and pumps the
// dialog's messages from its progress reports, so every handler may run
// under a paint. Esc stops the paint; a handler that changes what is shown
// raises the cancel flag or sets the pending flag, a close sets the closing
// flag, and the paint unwinds at the end of that report. Timer ticks and
// further preview requests do nothing while a paint runs.
class CEffectDialogBase : public CDialog, public RenderCallbacks
{
public:
    CEffectDialogBase(ComponentSet* components, Canvas* canvas, PreviewSurface* surface,
                      PresetStoreRef* presetStore, HWND parent);
    ~CEffectDialogBase() override;

    // What paints the preview: the component set unless replaced (tests and
    // benchmarks count and time paints).
    void setPainter(Painter* painter) { painter_ = painter; }

    // Set by the door before doModal, read back after IDOK.
    String presetName;
    bool paramsChanged;
    String presetDescription;

    // RenderCallbacks.
    void requestPreview() override;
    bool progress(float fraction) override;
    bool isCancelled() override;
    void finished() override;
    void reserved() override {}
    void cancel() override { cancelFlag_ = true; }
    void reset() override { cancelFlag_ = false; }
    Logger* logger() override;

    virtual Parameter* parameterAt(Component* component, int index);
    // Deletes the bindings and binds the selected page (derived class).
    virtual void rebuildComponentPage() {}
    // Called by onInitDialog once the tooltips exist.
    virtual void afterTooltips() {}
    // Called after "Import Presets..." merged a file with `count` presets
    // taken into the store; nothing is reported to the user.
    virtual void presetsImported(int count) { (void)count; }

    // Binds the parameter rows and check boxes to the component.
    void bindPageControls(Component* component);
    // Deletes the bindings and clears the listeners they set.
    void unbindPageControls();

    void zoomIn();
    void zoomOut();
    void showContextMenu(POINT screenPoint);
    // Runs one context menu command.
    void runContextCommand(UINT command);
    // The items the context menu lists now, in order (0 for a separator).
    std::vector<UINT> contextMenuCommands() const;
    // Where a context menu opens for the message's point: (-1, -1) from the
    // keyboard opens at the focused control's centre, else the dialog's.
    POINT contextMenuPoint(POINT screenPoint) const;

    // State for the door and the tests.
    CPreviewWnd& preview() { return preview_; }
    const BindingList& bindings() const { return bindings_; }
    bool closing() const { return closing_; }
    bool firstRun() const { return firstRun_; }
    const String& authorName() const { return authorName_; }
    const RECT& progressRect() const { return progressRect_; }
    HWND tooltips() const { return tooltips_.hwnd(); }
    // Preview paints that ran to their end.
    int finishedPaints() const { return finishedPaints_; }

    bool onInitDialog() override;
    void onOK() override;
    void onCancel() override;
    bool preTranslateMessage(MSG& message) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool onCommand(UINT id, UINT code, HWND control) override;
    bool onTimer(UINT_PTR id) override;
    bool onPaint() override;
    bool onContextMenu(HWND window, POINT screenPoint) override;
    void onDestroy() override;

protected:
    void resetProgress();
    void drawProgress(HDC dc, float fraction);
    void drawProgressNow(float fraction);
    void updateZoomControls();
    void updateStatusText();
    void schedulePreview();
    void addTool(int id, const String& text);
    void updateTip(int id, const String& text);

    ComponentSet* components_;
    PresetStoreRef* presetStore_;
    CToolTipCtrl tooltips_;

private:
    void layoutPreview();
    void onUpdatePreview(WPARAM tag);
    void onPreviewViewChanged();
    void onAutoPreview();
    // Runs the dialog's waiting messages while a paint is on the stack; Esc
    // stops the paint.
    void pumpDuringPaint();

    bool cancelFlag_;
    BindingList bindings_;
    // Parameters this dialog listens to, cleared when unbound.
    std::vector<Parameter*> listened_;
    String authorName_;
    bool painting_;
    bool inPreviewPaint_;
    RECT progressRect_;
    bool closing_;
    bool firstRun_;
    Pixel keyColour_;
    CPreviewWnd preview_;
    bool autoPreview_;
    UINT_PTR timerId_;
    bool pending_;
    Painter* painter_;
    RECT previewFrame_;
    float lastRefresh_;
    int finishedPaints_;
};
