#include "plugin/dialogs/EffectDialogBase.h"

#include <algorithm>
#include <cmath>

#include "engine/Component.h"
#include "engine/ComponentSet.h"
#include "engine/Parameter.h"
#include "foundation/Logger.h"
#include "framework/FileDialog.h"
#include "framework/Hooks.h"
#include "framework/PopupMenu.h"
#include "image/ColourMath.h"
#include "plugin/PluginApp.h"
#include "plugin/PluginResources.h"
#include "plugin/PresetRecords.h"
#include "plugin/PresetStore.h"
#include "plugin/dialogs/AboutDialog.h"
#include "plugin/dialogs/AuthorNameDialog.h"
#include "plugin/skin/SkinSettings.h"

namespace {

const int kAutoPreviewCheck = 1188;
const int kStatusLine = 1189;
const int kHelpButton = 125;
const int kZoomInButton = 132;
const int kZoomOutButton = 133;
const int kZoomText = 135;
const int kPreviewFrame = 1002;

const COLORREF kFrameLight = RGB(128, 128, 200);
const COLORREF kFrameDark = RGB(40, 40, 120);
const COLORREF kStripRest = RGB(250, 250, 250);

uint8_t progressChannel(double c)
{
    const double v = std::floor(255.99 * c - 0.5 + 0.5);
    return uint8_t(std::max(0.0, std::min(255.0, v)));
}

// Black, then orange, then a light amber as the paint proceeds.
const Pixel kProgressStart(progressChannel(0.0), progressChannel(0.0), progressChannel(0.0), 255);
const Pixel kProgressMiddle(progressChannel(1.0), progressChannel(0.25), progressChannel(0.0), 255);
const Pixel kProgressEnd(progressChannel(1.0), progressChannel(0.75), progressChannel(0.3), 255);

void fillSolid(HDC dc, const RECT& r, COLORREF colour)
{
    SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

// Top and left edges dark, bottom and right light.
void drawFrame(HDC dc, const RECT& r)
{
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    fillSolid(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, kFrameDark);
    fillSolid(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, kFrameDark);
    fillSolid(dc, RECT{r.left + 1, r.bottom - 1, r.right, r.bottom}, kFrameLight);
    fillSolid(dc, RECT{r.right - 1, r.top, r.right, r.bottom - 1}, kFrameLight);
}

} // namespace

CEffectDialogBase::CEffectDialogBase(ComponentSet* components, Canvas* canvas,
                                     PreviewSurface* surface, PresetStoreRef* presetStore,
                                     HWND parent)
    : CDialog(readGeneralSetting("lefthanded", false) ? IDD_SETTINGS_LEFT : IDD_SETTINGS_RIGHT,
              parent),
      paramsChanged(false), components_(components), presetStore_(presetStore),
      cancelFlag_(false), painting_(false), inPreviewPaint_(false),
      progressRect_{0, 0, 0, 0}, closing_(false), firstRun_(false),
      keyColour_(Pixel::fromWord(0xFF00FF)), preview_(canvas, surface), autoPreview_(true),
      timerId_(0), pending_(false), painter_(components), previewFrame_{0, 0, 0, 0},
      lastRefresh_(0.0f), finishedPaints_(0)
{
    autoPreview_ = readGeneralSetting("autopreview", true);
    authorName_ = readAuthorName();
}

CEffectDialogBase::~CEffectDialogBase()
{
    unbindPageControls();
}

Logger* CEffectDialogBase::logger()
{
    return currentLogger();
}

Parameter* CEffectDialogBase::parameterAt(Component* component, int index)
{
    return component ? component->parameterAt(index) : nullptr;
}

bool CEffectDialogBase::onInitDialog()
{
    CDialog::onInitDialog();
    centerWindow(parentWindow());
    sendItem(kAutoPreviewCheck, BM_SETCHECK, autoPreview_ ? BST_CHECKED : BST_UNCHECKED);

    tooltips_.create(hwnd_);
    tooltips_.setMaxTipWidth(300);
    addTool(IDOK, "apply the effect");
    addTool(IDCANCEL, "cancel (close)");
    addTool(kHelpButton, String("opens a help page\n at ") + makerWebSite());
    addTool(kPreviewFrame, "drag window to move");
    addTool(kAutoPreviewCheck, "auto preview effect on parameter changes");
    addTool(kStatusLine, "");
    afterTooltips();

    skinSettings().dialogFont = reinterpret_cast<HFONT>(send(WM_GETFONT));
    tooltips_.activate(true);
    tooltips_.setDelayTime(TTDT_AUTOMATIC, 800);

    layoutPreview();
    preview_.refresh();
    updateZoomControls();
    updateStatusText();

    if (pluginApp().profileInt("general", "notfirstrun", 0) == 0) {
        firstRun_ = true;
        showQuickHelp(hwnd_);
        pluginApp().writeProfileInt("general", "notfirstrun", 1);
    }
    timerId_ = setTimer(kPreviewTimerId, kPreviewTimerPeriod);
    if (autoPreview_)
        pending_ = true;
    return true;
}

void CEffectDialogBase::layoutPreview()
{
    HWND frame = item(kPreviewFrame);
    RECT r = {0, 0, 0, 0};
    if (frame) {
        GetClientRect(frame, &r);
        MapWindowPoints(frame, hwnd_, reinterpret_cast<POINT*>(&r), 2);
    }
    previewFrame_ = r;
    preview_.keyColour = keyColour_;
    preview_.replacementColour = keyColour_;
    const RECT placed = preview_.create(hwnd_, r);
    tooltips_.addTool(preview_.hwnd(), "drag window to move");
    progressRect_ = RECT{placed.left - 1, placed.bottom + 2, placed.right + 1, placed.bottom + 6};
}

void CEffectDialogBase::addTool(int id, const String& text)
{
    tooltips_.addTool(item(id), text);
}

void CEffectDialogBase::updateTip(int id, const String& text)
{
    tooltips_.updateTipText(item(id), text);
}

void CEffectDialogBase::updateZoomControls()
{
    enableItem(kZoomInButton, preview_.canZoomIn());
    enableItem(kZoomOutButton, preview_.canZoomOut());
    setItemText(kZoomText, preview_.zoomText());
}

void CEffectDialogBase::updateStatusText()
{
    setItemText(kStatusLine, paramsChanged ? presetName + "*" : presetName);
    updateTip(kStatusLine, paramsChanged ? String() : presetDescription);
}

void CEffectDialogBase::schedulePreview()
{
    resetProgress();
    if (!closing_ && autoPreview_)
        pending_ = true;
}

void CEffectDialogBase::resetProgress()
{
    cancelFlag_ = true;
    drawProgressNow(0.0f);
}

void CEffectDialogBase::drawProgressNow(float fraction)
{
    if (!isWindow())
        return;
    HDC dc = GetDC(hwnd_);
    drawProgress(dc, fraction);
    ReleaseDC(hwnd_, dc);
}

void CEffectDialogBase::drawProgress(HDC dc, float fraction)
{
    fraction = std::max(0.0f, std::min(1.0f, fraction));
    const RECT& strip = progressRect_;
    if (strip.right <= strip.left)
        return;
    drawFrame(dc, RECT{strip.left, strip.top - 1, strip.right, strip.bottom + 1});
    const RECT inner = {strip.left + 1, strip.top, strip.right - 1, strip.bottom};
    const int filled = inner.left + int(float(inner.right - inner.left) * fraction);
    if (filled > inner.left) {
        const Pixel c = fraction < 0.5f
                            ? lerpPixelRgb(kProgressStart, kProgressMiddle, 2.0f * fraction)
                            : lerpPixelRgb(kProgressMiddle, kProgressEnd, 2.0f * (fraction - 0.5f));
        fillSolid(dc, RECT{inner.left, inner.top, filled, inner.bottom}, RGB(c.r, c.g, c.b));
    }
    if (filled < inner.right)
        fillSolid(dc, RECT{std::max(filled, int(inner.left)), inner.top, inner.right, inner.bottom},
                  kStripRest);
}

bool CEffectDialogBase::onPaint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    drawFrame(dc, RECT{previewFrame_.left - 1, previewFrame_.top - 1, previewFrame_.right + 1,
                       previewFrame_.bottom + 1});
    if (preview_.isWindow())
        preview_.invalidate(false);
    drawProgress(dc, 0.0f);
    EndPaint(hwnd_, &ps);
    return true;
}

// ---- Pacing ----

void CEffectDialogBase::requestPreview()
{
    paramsChanged = true;
    updateStatusText();
    resetProgress();
    if (!closing_ && autoPreview_)
        pending_ = true;
}

bool CEffectDialogBase::onTimer(UINT_PTR id)
{
    if (id != timerId_ || timerId_ == 0)
        return false;
    if (painting_ || inPreviewPaint_)
        return true;
    const bool wasCancelled = cancelFlag_;
    cancelFlag_ = false;
    if (pending_) {
        PostMessageA(hwnd_, WM_UPDATE_PREVIEW, kUpdatePreviewTag, 0);
    } else if (wasCancelled) {
        cancelFlag_ = true;
        drawProgressNow(0.0f);
    }
    return true;
}

void CEffectDialogBase::onUpdatePreview(WPARAM tag)
{
    if (tag != kUpdatePreviewTag || inPreviewPaint_ || closing_)
        return;
    resetProgress();
    pending_ = false;
    preview_.refresh();
    lastRefresh_ = 0.0f;
    cancelFlag_ = false;
    MSG queued;
    while (PeekMessageA(&queued, hwnd_, WM_UPDATE_PREVIEW, WM_UPDATE_PREVIEW, PM_REMOVE)) {
    }
    if (!painter_)
        return;
    struct Guard
    {
        bool& flag;
        explicit Guard(bool& f) : flag(f) { flag = true; }
        ~Guard() { flag = false; }
    } guard(inPreviewPaint_);
    preview_.renderPreview(*painter_, *this);
}

bool CEffectDialogBase::progress(float fraction)
{
    if (isCancelled())
        return false;
    painting_ = true;
    drawProgressNow(fraction);
    if (fraction > lastRefresh_ + 0.2f) {
        lastRefresh_ = fraction;
        preview_.invalidate(false);
    }
    pumpDuringPaint();
    painting_ = false;
    if (isCancelled() || closing_ || !isWindow()) {
        reset();
        return false;
    }
    return true;
}

void CEffectDialogBase::pumpDuringPaint()
{
    // Bounded: a window that never validates its WM_PAINT must not hold the
    // paint here.
    for (int guard = 0; guard < 256 && isWindow(); ++guard) {
        MSG m;
        if (!PeekMessageA(&m, hwnd_, 0, 0, PM_REMOVE))
            return;
        if (m.message == WM_QUIT) {
            // Belongs to the outer loops: hand it back and stop.
            PostQuitMessage(int(m.wParam));
            cancelFlag_ = true;
            return;
        }
        if (m.message == WM_KEYDOWN && (m.wParam == VK_ESCAPE || m.wParam == VK_CANCEL)) {
            cancelFlag_ = true;
            drawProgressNow(0.0f);
            return;
        }
        // Whatever a handler changes raises the cancel flag or sets the
        // pending flag, and a close sets the closing flag: the paint sees
        // either at the end of this report and unwinds.
        if (tooltips_.isWindow())
            tooltips_.relayEvent(m);
        if (!IsDialogMessageA(hwnd_, &m)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
}

bool CEffectDialogBase::isCancelled()
{
    if (pending_)
        cancelFlag_ = true;
    return cancelFlag_;
}

void CEffectDialogBase::finished()
{
    ++finishedPaints_;
    drawProgressNow(0.0f);
    preview_.invalidate(false);
}

void CEffectDialogBase::onPreviewViewChanged()
{
    preview_.refresh();
    resetProgress();
    if (!closing_ && autoPreview_)
        pending_ = true;
}

// ---- Commands ----

void CEffectDialogBase::zoomIn()
{
    if (!preview_.canZoomIn())
        return;
    resetProgress();
    preview_.zoomIn();
    updateZoomControls();
    schedulePreview();
}

void CEffectDialogBase::zoomOut()
{
    if (!preview_.canZoomOut())
        return;
    resetProgress();
    preview_.zoomOut();
    updateZoomControls();
    schedulePreview();
}

void CEffectDialogBase::onAutoPreview()
{
    autoPreview_ = sendItem(kAutoPreviewCheck, BM_GETCHECK) > 0;
    writeGeneralSetting("autopreview", autoPreview_);
    schedulePreview();
}

bool CEffectDialogBase::onCommand(UINT id, UINT code, HWND control)
{
    if (code == BN_CLICKED && control) {
        switch (id) {
        case kAutoPreviewCheck:
            onAutoPreview();
            return true;
        case kHelpButton:
            openWebPage(helpPageAddress());
            return true;
        case kZoomInButton:
            zoomIn();
            return true;
        case kZoomOutButton:
            zoomOut();
            return true;
        default:
            break;
        }
    }
    return CDialog::onCommand(id, code, control);
}

void CEffectDialogBase::onOK()
{
    closing_ = true;
    resetProgress();
    CDialog::onOK();
}

void CEffectDialogBase::onCancel()
{
    closing_ = true;
    resetProgress();
    CDialog::onCancel();
}

void CEffectDialogBase::onDestroy()
{
    resetProgress();
    if (timerId_) {
        killTimer(timerId_);
        timerId_ = 0;
    }
    unbindPageControls();
    ShowWindow(hwnd_, SW_HIDE);
}

bool CEffectDialogBase::preTranslateMessage(MSG& message)
{
    if (tooltips_.isWindow())
        tooltips_.relayEvent(message);
    return false;
}

bool CEffectDialogBase::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_UPDATE_PREVIEW:
        onUpdatePreview(wParam);
        return true;
    case WM_PREVIEW_VIEW_CHANGED:
        onPreviewViewChanged();
        return true;
    case WM_DRAWITEM: case WM_MEASUREITEM: case WM_DELETEITEM: case WM_VKEYTOITEM:
    case WM_CHARTOITEM: case WM_COMPAREITEM: case WM_NOTIFY: case WM_COMMAND:
    case WM_HSCROLL: case WM_VSCROLL: case WM_PARENTNOTIFY:
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        LRESULT reflected = LRESULT(message);
        if (bindings_.dispatch(message + kReflectOffset, wParam, lParam, reflected)) {
            result = reflected;
            return true;
        }
        break;
    }
    default:
        break;
    }
    return CDialog::onMessage(message, wParam, lParam, result);
}

// ---- Context menu ----

std::vector<UINT> CEffectDialogBase::contextMenuCommands() const
{
    std::vector<UINT> items = {kCommandToggleHand, kCommandAuthorName};
    if (controlKeyDown())
        items.push_back(kCommandImportPresets);
    items.insert(items.end(), {0, kCommandAbout, 0, kCommandQuickHelp});
    return items;
}

POINT CEffectDialogBase::contextMenuPoint(POINT screenPoint) const
{
    if (screenPoint.x != -1 || screenPoint.y != -1)
        return screenPoint;
    HWND focus = GetFocus();
    RECT r = windowRect();
    if (focus && IsChild(hwnd_, focus))
        GetWindowRect(focus, &r);
    POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return centre;
}

bool CEffectDialogBase::onContextMenu(HWND, POINT screenPoint)
{
    showContextMenu(screenPoint);
    return true;
}

void CEffectDialogBase::showContextMenu(POINT screenPoint)
{
    PopupMenu menu;
    for (UINT command : contextMenuCommands()) {
        switch (command) {
        case 0:
            menu.appendSeparator();
            break;
        case kCommandToggleHand:
            menu.append(command, readGeneralSetting("lefthanded", false) ? "Right Handed"
                                                                          : "Left Handed");
            break;
        case kCommandAuthorName:
            menu.append(command, "Set Author Name...");
            break;
        case kCommandImportPresets:
            menu.append(command, "Import Presets...");
            break;
        case kCommandAbout:
            menu.append(command, "About...");
            break;
        case kCommandQuickHelp:
            menu.append(command, "Quick Help...");
            break;
        default:
            break;
        }
    }
    const UINT chosen = menu.track(hwnd_, contextMenuPoint(screenPoint), TPM_CENTERALIGN);
    if (chosen)
        runContextCommand(chosen);
}

void CEffectDialogBase::runContextCommand(UINT command)
{
    switch (command) {
    case kCommandToggleHand:
        // Takes effect at the next opening.
        writeGeneralSetting("lefthanded", !readGeneralSetting("lefthanded", false));
        break;
    case kCommandAuthorName: {
        CAuthorNameDialog dialog(hwnd_, authorName_);
        if (dialog.doModal() == IDOK) {
            String name = dialog.name;
            name.removeChars(kForbiddenNameChars);
            authorName_ = name;
            writeAuthorName(name);
        }
        break;
    }
    case kCommandImportPresets: {
        String path;
        if (askOpenFileName(hwnd_, "Import presets file",
                            "Preset files (*.presets;*.ini;*.ini.bak)|*.presets;*.ini;*.ini.bak;|"
                            "All Files (*.*)|*.*||",
                            path) &&
            presetStore_ && presetStore_->store)
            presetsImported(importPresetFile(*presetStore_->store, path));
        break;
    }
    case kCommandAbout: {
        CAboutDialog about(hwnd_);
        about.doModal();
        break;
    }
    case kCommandQuickHelp:
        showQuickHelp(hwnd_);
        break;
    default:
        break;
    }
}

// ---- Bindings ----

void CEffectDialogBase::unbindPageControls()
{
    bindings_.clear();
    for (Parameter* parameter : listened_)
        if (parameter->listener == static_cast<RenderCallbacks*>(this))
            parameter->listener = nullptr;
    listened_.clear();
}

void CEffectDialogBase::bindPageControls(Component* component)
{
    unbindPageControls();
    for (int r = 0; r < kParameterRows; ++r) {
        showItem(nameLabelId(r), false);
        showItem(trackbarId(r), false);
        showItem(valueLabelId(r), false);
    }
    for (int k = 0; k < kParameterCheckBoxes; ++k)
        showItem(checkBoxId(k), false);

    int row = 0, box = 0;
    for (int index = 0; index < 18; ++index) {
        Parameter* parameter = parameterAt(component, index);
        if (!parameter || parameter->flags == 0)
            break;
        parameter->listener = this;
        listened_.push_back(parameter);
        ParamBinding* binding = nullptr;
        if (parameter->flags == 1) {
            if (box == kParameterCheckBoxes)
                continue;
            updateTip(checkBoxId(box), parameter->description);
            binding = new CheckBoxBinding(*parameter, item(checkBoxId(box)));
            ++box;
        } else if ((parameter->flags & 31) == 3 || parameter->flags == 2) {
            if (row == kParameterRows)
                continue;
            updateTip(nameLabelId(row), parameter->description);
            if (parameter->flags == 2)
                binding = new SliderBinding(*parameter, item(trackbarId(row)),
                                            item(nameLabelId(row)), item(valueLabelId(row)));
            else
                binding = new RangeSliderBinding(*parameter, item(trackbarId(row)),
                                                 item(nameLabelId(row)), item(valueLabelId(row)));
            ++row;
        } else {
            continue;
        }
        bindings_.add(binding);
        binding->refresh();
    }
}
