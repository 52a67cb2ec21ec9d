#include <memory>
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "FrontEndTestSupport.h"
#include "engine/Canvas.h"
#include "engine/Component.h"
#include "engine/ComponentSet.h"
#include "engine/Painter.h"
#include "engine/applications/ApplicationPattern.h"
#include "engine/brushes/Brush.h"
#include "engine/strokes/StrokeAlgorithm.h"
#include "engine/RenderCallbacks.h"
#include "foundation/MemorySettingsStore.h"
#include "foundation/PropertyBag.h"
#include "framework/GuiTestSupport.h"
#include "framework/Hooks.h"
#include "image/OwnedBitmap.h"
#include "foundation/IniFile.h"
#include "framework/FileDialog.h"
#include "plugin/PluginApp.h"
#include "plugin/PluginResources.h"
#include "plugin/PresetStore.h"
#include "plugin/PreviewSurface.h"
#include "plugin/SettingsDialog.h"
#include "plugin/dialogs/EffectDialog.h"
#include "plugin/dialogs/PresetPanel.h"

namespace {

using namespace plugintest;

// Paints in steps, reporting progress after each, and counts what happened.
// A hook can act at a given step of a given paint (1-based).
struct FakePainter : Painter
{
    int steps = 8;
    DWORD stepMilliseconds = 15;
    int paints = 0, cancels = 0, finishes = 0;
    int step = 0;
    Rect lastArea;
    int hookPaint = 0, hookStep = 0;
    std::function<void()> hook;
    std::function<void()> afterProgress;
    std::function<void()> beforeFinish;

    bool paint(Canvas& canvas, RenderCallbacks& callbacks) override
    {
        ++paints;
        lastArea = canvas.area;
        for (int i = 1; i <= steps; ++i) {
            step = i;
            Sleep(stepMilliseconds);
            canvas.target->fillRect(Pixel(255, 0, 0, 255), canvas.area);
            if (hook && paints == hookPaint && i == hookStep)
                hook();
            const bool goOn = callbacks.progress(float(i) / float(steps));
            if (afterProgress)
                afterProgress();
            if (!goOn) {
                ++cancels;
                return false;
            }
        }
        if (beforeFinish)
            beforeFinish();
        callbacks.finished();
        ++finishes;
        return true;
    }
};

// Steps run one after the other from a thread timer while the dialog is up
// (and not painting); a step returns true when it is done.
typedef std::function<bool(CEffectDialog&)> Step;

std::vector<Step>& steps()
{
    static std::vector<Step> list;
    return list;
}

void CALLBACK stepTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    // A step that opens a modal window pumps this timer again.
    static bool inStep = false;
    if (inStep)
        return;
    HWND top = guitest::topDialog();
    CEffectDialog* dialog = top ? dynamic_cast<CEffectDialog*>(CWnd::fromHandle(top)) : nullptr;
    if (!dialog)
        return;
    if (steps().empty()) {
        KillTimer(nullptr, id);
        return;
    }
    Step step = steps().front();
    inStep = true;
    const bool done = step(*dialog);
    inStep = false;
    if (done)
        steps().erase(steps().begin());
}

// Waits the given time, then is done.
Step idle(DWORD milliseconds)
{
    auto until = std::make_shared<DWORD>(0);
    return [=](CEffectDialog&) {
        if (*until == 0)
            *until = GetTickCount() + milliseconds;
        return GetTickCount() >= *until;
    };
}

// Done when the condition holds, or after the given time at the latest.
Step until(std::function<bool()> condition, DWORD milliseconds)
{
    auto deadline = std::make_shared<DWORD>(0);
    return [=](CEffectDialog&) {
        if (*deadline == 0)
            *deadline = GetTickCount() + milliseconds;
        return condition() || GetTickCount() >= *deadline;
    };
}

Step act(std::function<void(CEffectDialog&)> action)
{
    return [=](CEffectDialog& d) {
        action(d);
        return true;
    };
}

bool wheel(CEffectDialog& d, int row, int notches)
{
    HWND bar = GetDlgItem(d.hwnd(), trackbarId(row));
    if (!bar)
        return false;
    PostMessageA(bar, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(short(notches * WHEEL_DELTA))), 0);
    return true;
}

String itemText(HWND dialog, int id)
{
    char text[256] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

bool ctrlHeld = false;
bool heldCtrl() { return ctrlHeld; }

String openedPage;
bool recordPage(const String& address)
{
    openedPage = address;
    return true;
}

class SettingsDialog : public ::testing::Test
{
protected:
    SettingsDialog() : source(640, 480, 4), components(PropertyBag()) {}

    void SetUp() override
    {
        ASSERT_TRUE(attachFrontEnd());
        pluginApp().writeProfileInt("general", "notfirstrun", 1);
        pluginApp().writeProfileInt("general", "lefthanded", 0);
        pluginApp().writeProfileInt("general", "autopreview", 1);
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x)
                source.setPixel(x, y, Pixel(uint8_t(x), uint8_t(y), uint8_t(x ^ y), 255));
        steps().clear();
        ctrlHeld = false;
        setControlKeyQuery(&heldCtrl);
    }
    void TearDown() override
    {
        setControlKeyQuery(nullptr);
        steps().clear();
    }

    // Runs the dialog with the fake painter through the queued steps; the
    // last step should close it.
    INT_PTR run(std::vector<Step> script)
    {
        steps() = std::move(script);
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, &stepTimer);
        SettingsDialogSession session;
        session.components = &components;
        session.source = &source;
        session.painter = &painter;
        session.presetName = "mine";
        const INT_PTR result = runEffectDialog(session);
        KillTimer(nullptr, timer);
        return result;
    }

    static Step close(int id)
    {
        return act([id](CEffectDialog& d) { PostMessageA(d.hwnd(), WM_COMMAND, id, 0); });
    }

    OwnedBitmap source;
    ComponentSet components;
    FakePainter painter;
};

TEST_F(SettingsDialog, ThreeChangesDuringOnePaintGiveExactlyOneFurtherPaint)
{
    painter.steps = 10;
    painter.hookPaint = 1;
    painter.hookStep = 3;
    HWND dialogWindow = nullptr;
    painter.hook = [&] {
        dialogWindow = guitest::topDialog();
        CEffectDialog* d = dynamic_cast<CEffectDialog*>(CWnd::fromHandle(dialogWindow));
        for (int i = 0; i < 3; ++i)
            wheel(*d, 0, 1);
    };
    String status;
    INT_PTR result = run({[&](CEffectDialog&) { return painter.paints >= 2 && painter.finishes >= 1; },
                          idle(500),
                          act([&](CEffectDialog& d) { status = itemText(d.hwnd(), 1189); }),
                          close(IDOK)});
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(2, painter.paints);
    EXPECT_EQ(1, painter.cancels);
    EXPECT_EQ(1, painter.finishes);
    EXPECT_EQ("mine*", status);
    // The paint covered the visible part only, inside the picture.
    EXPECT_GE(painter.lastArea.left, 0);
    EXPECT_LE(painter.lastArea.right, source.width());
    EXPECT_LT(painter.lastArea.right - painter.lastArea.left, source.width());
}

TEST_F(SettingsDialog, EscapeStopsOnlyThePaintThenClosesWhenIdle)
{
    painter.steps = 20;
    painter.hookPaint = 1;
    painter.hookStep = 2;
    painter.hook = [] { PostMessageA(guitest::topDialog(), WM_KEYDOWN, VK_ESCAPE, 1); };
    bool openAfterPaintEsc = false;
    INT_PTR result = run({[&](CEffectDialog&) { return painter.cancels == 1; }, idle(300),
                          act([&](CEffectDialog& d) {
                              openAfterPaintEsc = d.isWindow() && !d.closing();
                              PostMessageA(d.hwnd(), WM_KEYDOWN, VK_ESCAPE, 1);
                          }),
                          idle(2000), close(IDOK)});
    EXPECT_TRUE(openAfterPaintEsc);
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(1, painter.paints);
    EXPECT_EQ(0, painter.finishes);
}

// The strip's colour in the middle of its height, at a fraction of its
// inner width, as the dialog shows it now.
COLORREF stripColourAt(CEffectDialog& d, float fraction)
{
    const RECT& strip = d.progressRect();
    const int left = strip.left + 1, right = strip.right - 1;
    const int x = std::min(right - 1, left + int(float(right - left) * fraction));
    HDC dc = GetDC(d.hwnd());
    const COLORREF colour = GetPixel(dc, x, (strip.top + strip.bottom) / 2);
    ReleaseDC(d.hwnd(), dc);
    return colour;
}

const COLORREF kStripFullColour = RGB(255, 191, 76);
const COLORREF kStripEmptyColour = RGB(250, 250, 250);

// Clicks, modifier keys, key releases and Tab during a paint run as they
// come (Tab moves the focus) and the paint goes on to its end; a repaint of
// the dialog under a paint shows an empty strip until the next report.
TEST_F(SettingsDialog, HarmlessInputDuringAPaintLetsItFinishWithTheStripFull)
{
    painter.steps = 20;
    painter.hookPaint = 1;
    painter.hookStep = 3;
    CEffectDialog* dialog = nullptr;
    HWND focusBefore = nullptr;
    painter.hook = [&] {
        HWND d = guitest::topDialog();
        dialog = dynamic_cast<CEffectDialog*>(CWnd::fromHandle(d));
        SetFocus(GetDlgItem(d, IDOK));
        focusBefore = GetFocus();
        for (UINT key : {UINT(VK_SHIFT), UINT(VK_CONTROL), UINT(VK_TAB)}) {
            PostMessageA(focusBefore, WM_KEYDOWN, key, 1);
            PostMessageA(focusBefore, WM_KEYUP, key, 0xC0000001);
        }
        PostMessageA(d, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(600, 8));
        PostMessageA(d, WM_LBUTTONUP, 0, MAKELPARAM(600, 8));
        HWND p = dialog->preview().hwnd();
        PostMessageA(p, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 40));
        PostMessageA(p, WM_LBUTTONUP, 0, MAKELPARAM(40, 40));
    };
    COLORREF afterRepaint = 0, atFinish = 0;
    painter.afterProgress = [&] {
        if (painter.paints == 1 && painter.step == 10)
            InvalidateRect(dialog->hwnd(), nullptr, FALSE);
        else if (painter.paints == 1 && painter.step == 11)
            afterRepaint = stripColourAt(*dialog, 0.25f);
    };
    painter.beforeFinish = [&] { atFinish = stripColourAt(*dialog, 1.0f); };
    HWND focusAfter = nullptr;
    INT_PTR result = run({until([&] { return painter.finishes >= 1; }, 5000),
                          act([&](CEffectDialog&) { focusAfter = GetFocus(); }), idle(300),
                          close(IDCANCEL)});
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(1, painter.paints);
    EXPECT_EQ(0, painter.cancels);
    EXPECT_EQ(1, painter.finishes);
    EXPECT_EQ(kStripFullColour, atFinish);
    EXPECT_EQ(kStripEmptyColour, afterRepaint);
    EXPECT_NE(focusBefore, focusAfter);
}

// Closing, zooming and choosing a component during a paint run under it:
// the paint stops at the end of that report and, the dialog closing, no
// further paint starts.
TEST_F(SettingsDialog, ClosingZoomingAndSwitchingDuringAPaintStopItAndNothingFollows)
{
    painter.steps = 20;
    painter.hookPaint = 1;
    painter.hookStep = 2;
    ApplicationPattern* before = components.currentApplication;
    CEffectDialog* dialog = nullptr;
    bool closedUnderPaint = false;
    String zoomUnderPaint;
    painter.hook = [&] {
        HWND d = guitest::topDialog();
        dialog = dynamic_cast<CEffectDialog*>(CWnd::fromHandle(d));
        PostMessageA(d, WM_COMMAND, MAKEWPARAM(132, BN_CLICKED), LPARAM(GetDlgItem(d, 132)));
        HWND combo = GetDlgItem(d, kTypeComboId);
        SendMessageA(combo, CB_SETCURSEL, 1, 0);
        PostMessageA(d, WM_COMMAND, MAKEWPARAM(kTypeComboId, CBN_SELCHANGE), LPARAM(combo));
        PostMessageA(d, WM_COMMAND, IDOK, 0);
    };
    painter.afterProgress = [&] {
        if (dialog && dialog->closing() && !closedUnderPaint) {
            closedUnderPaint = true;
            zoomUnderPaint = itemText(dialog->hwnd(), 135);
        }
    };
    EXPECT_EQ(IDOK, run({idle(5000), close(IDCANCEL)}));
    EXPECT_TRUE(closedUnderPaint);
    EXPECT_EQ("150.0%", zoomUnderPaint);
    EXPECT_EQ(1, painter.paints);
    EXPECT_EQ(1, painter.cancels);
    EXPECT_EQ(0, painter.finishes);
    EXPECT_EQ(2, painter.step);
    EXPECT_NE(before, components.currentApplication);
}

// Posts component switches, slider moves and zoom clicks to the dialog from
// another thread for a while, so that many land under real paints.
struct InputStorm
{
    HWND dialog = nullptr;
    DWORD milliseconds = 2500;
    int posted = 0;

    static DWORD WINAPI run(void* argument)
    {
        InputStorm& storm = *static_cast<InputStorm*>(argument);
        HWND combo = GetDlgItem(storm.dialog, kTypeComboId);
        HWND slider = GetDlgItem(storm.dialog, trackbarId(0));
        const DWORD end = GetTickCount() + storm.milliseconds;
        for (int i = 0; GetTickCount() < end; ++i) {
            if (i % 3 == 0) {
                PostMessageA(combo, CB_SETCURSEL, WPARAM(i % 2), 0);
                PostMessageA(storm.dialog, WM_COMMAND, MAKEWPARAM(kTypeComboId, CBN_SELCHANGE),
                             LPARAM(combo));
            } else if (i % 3 == 1) {
                PostMessageA(slider, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(short(WHEEL_DELTA))), 0);
            } else {
                const int zoom = (i & 1) ? 133 : 132;
                PostMessageA(storm.dialog, WM_COMMAND, MAKEWPARAM(zoom, BN_CLICKED),
                             LPARAM(GetDlgItem(storm.dialog, zoom)));
            }
            ++storm.posted;
            Sleep(50);
        }
        return 0;
    }
};

// The component set's paints, counted.
struct CountingPainter : Painter
{
    Painter* inner = nullptr;
    int paints = 0, stopped = 0;
    bool paint(Canvas& canvas, RenderCallbacks& callbacks) override
    {
        ++paints;
        const bool done = inner->paint(canvas, callbacks);
        if (!done)
            ++stopped;
        return done;
    }
};

// The real painter: components switched, parameters moved and the view
// zoomed under its paints; each paint stops cleanly and the last change is
// painted to its end.
TEST_F(SettingsDialog, RealPaintsStopCleanlyUnderAStormOfChangesAndTheLastOneFinishes)
{
    InputStorm storm;
    CountingPainter counting;
    counting.inner = &components;
    HANDLE thread = nullptr;
    int finishedBefore = -1, finishedAfter = -1;
    steps() = {[&](CEffectDialog& d) { return d.finishedPaints() >= 1; },
               act([&](CEffectDialog& d) {
                   finishedBefore = d.finishedPaints();
                   storm.dialog = d.hwnd();
                   thread = CreateThread(nullptr, 0, &InputStorm::run, &storm, 0, nullptr);
               }),
               [&](CEffectDialog&) { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; },
               until([&] { return false; }, 1500),
               act([&](CEffectDialog& d) { finishedAfter = d.finishedPaints(); }),
               close(IDOK)};
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, &stepTimer);
    SettingsDialogSession session;
    session.components = &components;
    session.source = &source;
    session.painter = &counting;
    const INT_PTR result = runEffectDialog(session);
    KillTimer(nullptr, timer);
    if (thread) {
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
    }
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(1, finishedBefore);
    EXPECT_GT(storm.posted, 30);
    EXPECT_GE(counting.stopped, 3);
    EXPECT_EQ(counting.paints, counting.stopped + finishedAfter);
    // At least the paint after the storm ran to its end.
    EXPECT_GE(finishedAfter, 2);
}

TEST_F(SettingsDialog, ZoomStepsStopAtTheLimitsAndScaleThePanDragsAndDoubleClickResets)
{
    pluginApp().writeProfileInt("general", "autopreview", 0);
    std::vector<String> texts;
    std::vector<bool> zoomInEnabled, zoomOutEnabled;
    Point dragged, zoomed, reset;
    bool panAllowed = false;
    auto record = [&](CEffectDialog& d) {
        texts.push_back(itemText(d.hwnd(), 135));
        zoomInEnabled.push_back(IsWindowEnabled(GetDlgItem(d.hwnd(), 132)) != 0);
        zoomOutEnabled.push_back(IsWindowEnabled(GetDlgItem(d.hwnd(), 133)) != 0);
    };
    INT_PTR result = run({
        act([&](CEffectDialog& d) {
            record(d);
            panAllowed = d.preview().panAllowed();
            HWND p = d.preview().hwnd();
            PostMessageA(p, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
            PostMessageA(p, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(45, 57));
            PostMessageA(p, WM_LBUTTONUP, 0, MAKELPARAM(45, 57));
        }),
        idle(100),
        act([&](CEffectDialog& d) {
            dragged = d.preview().panOffset();
            SendMessageA(d.hwnd(), WM_COMMAND, MAKEWPARAM(132, BN_CLICKED), LPARAM(GetDlgItem(d.hwnd(), 132)));
            zoomed = d.preview().panOffset();
            for (int i = 0; i < 5; ++i)
                d.zoomIn();
            record(d);
            for (int i = 0; i < 12; ++i)
                d.zoomOut();
            record(d);
            PostMessageA(d.preview().hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
        }),
        idle(100),
        act([&](CEffectDialog& d) { reset = d.preview().panOffset(); }),
        close(IDCANCEL)});
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_TRUE(panAllowed);
    EXPECT_EQ(5, dragged.x);
    EXPECT_EQ(-7, dragged.y);
    EXPECT_EQ(7, zoomed.x);   // 7.5 truncated
    EXPECT_EQ(-10, zoomed.y); // -10.5 truncated
    EXPECT_EQ(0, reset.x);
    EXPECT_EQ(0, reset.y);
    ASSERT_EQ(3u, texts.size());
    EXPECT_EQ("100.0%", texts[0]);
    EXPECT_EQ("300.0%", texts[1]);
    EXPECT_EQ("33.3%", texts[2]);
    EXPECT_TRUE(zoomInEnabled[0] && zoomOutEnabled[0]);
    EXPECT_FALSE(zoomInEnabled[1]);
    EXPECT_TRUE(zoomOutEnabled[1]);
    EXPECT_TRUE(zoomInEnabled[2]);
    EXPECT_FALSE(zoomOutEnabled[2]);
    EXPECT_EQ(0, painter.paints);
}

TEST_F(SettingsDialog, WithoutAutoPreviewAChangeMarksTheNameAndSwitchingItOnPaintsOnce)
{
    pluginApp().writeProfileInt("general", "autopreview", 0);
    int paintsBeforeSwitch = -1;
    String status;
    INT_PTR result = run({idle(250), act([&](CEffectDialog& d) { wheel(d, 0, 1); }), idle(250),
                          act([&](CEffectDialog& d) {
                              status = itemText(d.hwnd(), 1189);
                              paintsBeforeSwitch = painter.paints;
                              SendMessageA(GetDlgItem(d.hwnd(), 1188), BM_CLICK, 0, 0);
                          }),
                          idle(600), close(IDOK)});
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ("mine*", status);
    EXPECT_EQ(0, paintsBeforeSwitch);
    EXPECT_EQ(1, painter.paints);
    EXPECT_EQ(1, painter.finishes);
    EXPECT_TRUE(readGeneralSetting("autopreview", false));
}

TEST_F(SettingsDialog, BothLayoutsAndTheHandSwitchOnlyChangesTheStoredValue)
{
    int previewX[2] = {0, 0}, sliderX[2] = {0, 0};
    for (int left = 0; left < 2; ++left) {
        pluginApp().writeProfileInt("general", "lefthanded", left);
        run({act([&](CEffectDialog& d) {
                 RECT p, s;
                 GetWindowRect(d.preview().hwnd(), &p);
                 GetWindowRect(GetDlgItem(d.hwnd(), trackbarId(0)), &s);
                 previewX[left] = p.left;
                 sliderX[left] = s.left;
                 d.runContextCommand(kCommandToggleHand);
                 EXPECT_EQ(UINT(left ? 116 : 112), d.templateId());
             }),
             close(IDCANCEL)});
        EXPECT_EQ(left == 0, readGeneralSetting("lefthanded", false));
    }
    EXPECT_LT(previewX[0], sliderX[0]);
    EXPECT_GT(previewX[1], sliderX[1]);
}

// A component with more rows than the dialog has: two ranges and thirteen
// sliders (fifteen rows), then check boxes; the walk looks at 18 slots.
const ParamDescriptor kCrowdedTable[] = {
    {3, 0, 20, 5, 0, "Range", "range", 0, {}, 0, 0, 0, "a range"},
    {35, 0, 1000, 100, 0, "Grey", "grey", 0, {}, 0, 0, 0, "a grey range"},
#define QX_SLIDER(n) {2, 0, 50, 0, 0, "S" #n, "s" #n, 0, {}, 0, 0, 0, "slider " #n}
    QX_SLIDER(0), QX_SLIDER(1), QX_SLIDER(2), QX_SLIDER(3), QX_SLIDER(4), QX_SLIDER(5),
    QX_SLIDER(6), QX_SLIDER(7), QX_SLIDER(8), QX_SLIDER(9), QX_SLIDER(10), QX_SLIDER(11),
    QX_SLIDER(12),
#undef QX_SLIDER
    {1, 0, 1, 1, 0, "C0", "c0", 0, {}, 0, 0, 0, "box"},
    {1, 0, 1, 0, 0, "C1", "c1", 0, {}, 0, 0, 0, "box"},
    {1, 0, 1, 0, 0, "C2", "c2", 0, {}, 0, 0, 0, "box"},
    {1, 0, 1, 0, 0, "C3", "c3", 0, {}, 0, 0, 0, "box"},
    {1, 0, 1, 0, 0, "C4", "c4", 0, {}, 0, 0, 0, "box"},
    {0, 0, 0, 0, 0, "", "", 0, {}, 0, 0, 0, ""},
};

// Five check boxes for four boxes, then one slider.
const ParamDescriptor kBoxesTable[] = {
    {1, 0, 1, 0, 0, "C0", "c0", 0, {}, 0, 0, 0, "box"},
    {1, 0, 1, 0, 0, "C1", "c1", 0, {}, 0, 0, 0, "box"},
    {1, 0, 1, 0, 0, "C2", "c2", 0, {}, 0, 0, 0, "box"},
    {1, 0, 1, 0, 0, "C3", "c3", 0, {}, 0, 0, 0, "box"},
    {1, 0, 1, 1, 0, "C4", "c4", 0, {}, 0, 0, 0, "box"},
    {2, 0, 9, 0, 0, "S", "s", 0, {}, 0, 0, 0, "slider"},
    {0, 0, 0, 0, 0, "", "", 0, {}, 0, 0, 0, ""},
};

TEST_F(SettingsDialog, BindingsCutOffExtraRowsAndRangesFollowTheControlKey)
{
    pluginApp().writeProfileInt("general", "autopreview", 0);
    Component crowded(kCrowdedTable, "crowded", "Crowded", "brush");
    Component boxes(kBoxesTable, "boxes", "Boxes", "brush");
    size_t bound = 0, boundBoxes = 0;
    bool lastRowShown = false, firstBoxChecked = false, sliderAfterBoxes = false;
    LRESULT pages[2] = {0, 0};
    String afterCtrl, afterPlain, statusAfterNoMove, statusAfterMove;
    bool listenedWhileBound = false;
    run({act([&](CEffectDialog& d) {
             d.bindPageControls(&crowded);
             bound = d.bindings().size();
             HWND w = d.hwnd();
             lastRowShown = IsWindowVisible(GetDlgItem(w, trackbarId(13))) != 0;
             firstBoxChecked = SendDlgItemMessageA(w, checkBoxId(0), BM_GETCHECK, 0, 0) == BST_CHECKED;
             pages[0] = SendDlgItemMessageA(w, trackbarId(0), TBM_GETPAGESIZE, 0, 0);
             pages[1] = SendDlgItemMessageA(w, trackbarId(1), TBM_GETPAGESIZE, 0, 0);
             listenedWhileBound = crowded.parameterAt(17)->listener != nullptr &&
                                  crowded.parameterAt(0)->listener != nullptr &&
                                  crowded.parameterAt(18)->listener == nullptr;
             // Slider s0 sits at its minimum: a notch down changes nothing.
             wheel(d, 2, -1);
         }),
         idle(100),
         act([&](CEffectDialog& d) {
             statusAfterNoMove = itemText(d.hwnd(), 1189);
             ctrlHeld = true;
             wheel(d, 0, 1);
         }),
         idle(100),
         act([&](CEffectDialog& d) {
             afterCtrl = crowded.parameterAt(0)->displayText();
             ctrlHeld = false;
             wheel(d, 0, 1);
         }),
         idle(100),
         act([&](CEffectDialog& d) {
             afterPlain = crowded.parameterAt(0)->displayText();
             statusAfterMove = itemText(d.hwnd(), 1189);
             d.bindPageControls(&boxes);
             boundBoxes = d.bindings().size();
             sliderAfterBoxes = IsWindowVisible(GetDlgItem(d.hwnd(), trackbarId(0))) != 0;
             d.rebuildComponentPage();
         }),
         close(IDCANCEL)});
    EXPECT_EQ(17u, bound); // 14 of 15 rows, the 3 boxes within 18 slots
    EXPECT_EQ(5u, boundBoxes); // 4 of 5 boxes and the slider
    EXPECT_TRUE(lastRowShown);
    EXPECT_TRUE(sliderAfterBoxes);
    EXPECT_TRUE(firstBoxChecked);
    EXPECT_EQ(2, pages[0]);  // 20 >> 4 = 1, raised to 2
    EXPECT_EQ(62, pages[1]); // 1000 >> 4
    EXPECT_TRUE(listenedWhileBound);
    EXPECT_EQ("mine", statusAfterNoMove);
    EXPECT_EQ("5/6", afterCtrl);
    EXPECT_EQ("7/7", afterPlain);
    EXPECT_EQ("mine*", statusAfterMove);
    for (Component* c : {&crowded, &boxes})
        for (int i = 0; i < Component::ParameterSlots; ++i)
            if (Parameter* p = c->parameterAt(i)) {
                EXPECT_EQ(nullptr, p->listener) << i;
            }
}

TEST_F(SettingsDialog, AnEmptySlotEndsTheWalkAndClosingClearsEveryListener)
{
    pluginApp().writeProfileInt("general", "autopreview", 0);
    Component crowded(kCrowdedTable, "crowded", "Crowded", "brush");
    std::unique_ptr<Parameter> third = std::move(crowded.parameters[2]);
    size_t bound = 0;
    run({act([&](CEffectDialog& d) {
             d.bindPageControls(&crowded);
             bound = d.bindings().size();
         }),
         close(IDCANCEL)});
    crowded.parameters[2] = std::move(third);
    EXPECT_EQ(2u, bound);
    EXPECT_EQ(nullptr, crowded.parameterAt(0)->listener);
    EXPECT_EQ(nullptr, crowded.parameterAt(1)->listener);
    for (Component* c : {static_cast<Component*>(components.currentApplication),
                         static_cast<Component*>(components.currentBrush),
                         static_cast<Component*>(components.currentStroke)})
        for (int i = 0; i < Component::ParameterSlots; ++i)
            if (Parameter* p = c->parameterAt(i)) {
                EXPECT_EQ(nullptr, p->listener) << c->id << " " << i;
            }
}

TEST_F(SettingsDialog, TabsListTheKindsComponentsAndChoosingOneRebindsAndMarksTheChange)
{
    pluginApp().writeProfileInt("general", "autopreview", 0);
    std::vector<String> tabs;
    int comboCount = -1;
    String selected, status;
    Brush* before = components.currentBrush;
    run({act([&](CEffectDialog& d) {
             for (int i = 0; i < d.tabs().itemCount(); ++i) {
                 char text[64] = "";
                 TCITEMA item = {};
                 item.mask = TCIF_TEXT;
                 item.pszText = text;
                 item.cchTextMax = sizeof text;
                 d.tabs().send(TCM_GETITEMA, i, LPARAM(&item));
                 tabs.push_back(text);
             }
             d.tabs().setCurrentSelection(1);
             NMHDR header = {d.tabs().hwnd(), UINT_PTR(kTabControlId), UINT(TCN_SELCHANGE)};
             SendMessageA(d.hwnd(), WM_NOTIFY, kTabControlId, LPARAM(&header));
             HWND combo = GetDlgItem(d.hwnd(), kTypeComboId);
             comboCount = int(SendMessageA(combo, CB_GETCOUNT, 0, 0));
             char text[128] = "";
             SendMessageA(combo, CB_GETLBTEXT, SendMessageA(combo, CB_GETCURSEL, 0, 0), LPARAM(text));
             selected = text;
             SendMessageA(combo, CB_SETCURSEL, 1, 0);
             SendMessageA(d.hwnd(), WM_COMMAND, MAKEWPARAM(kTypeComboId, CBN_SELCHANGE), LPARAM(combo));
             status = itemText(d.hwnd(), 1189);
         }),
         close(IDCANCEL)});
    ASSERT_EQ(3u, tabs.size());
    EXPECT_EQ("Application", tabs[0]);
    EXPECT_EQ("Brush", tabs[1]);
    EXPECT_EQ("Stroke", tabs[2]);
    EXPECT_EQ(components.brushCount, comboCount);
    EXPECT_EQ(before->displayName, selected);
    EXPECT_EQ(components.brushes[1].get(), components.currentBrush);
    EXPECT_EQ("mine*", status);
}

TEST_F(SettingsDialog, KeyboardContextMenuOpensAtTheFocusedControlImportNeedsControlAndHelpUsesTheHook)
{
    POINT atFocus = {}, given = {};
    RECT focusRect = {};
    std::vector<UINT> plain, withCtrl;
    run({act([&](CEffectDialog& d) {
             HWND zoom = GetDlgItem(d.hwnd(), 132);
             SetFocus(zoom);
             GetWindowRect(zoom, &focusRect);
             atFocus = d.contextMenuPoint(POINT{-1, -1});
             given = d.contextMenuPoint(POINT{300, 200});
             plain = d.contextMenuCommands();
             ctrlHeld = true;
             withCtrl = d.contextMenuCommands();
             ctrlHeld = false;
             openedPage.clear();
             setWebPageOpener(&recordPage);
             SendMessageA(GetDlgItem(d.hwnd(), 125), BM_CLICK, 0, 0);
             setWebPageOpener(nullptr);
         }),
         close(IDCANCEL)});
    EXPECT_EQ(helpPageAddress(), openedPage);
    EXPECT_EQ((focusRect.left + focusRect.right) / 2, atFocus.x);
    EXPECT_EQ((focusRect.top + focusRect.bottom) / 2, atFocus.y);
    EXPECT_EQ(300, given.x);
    EXPECT_EQ((std::vector<UINT>{32, 37, 0, 48, 0, 66}), plain);
    EXPECT_EQ((std::vector<UINT>{32, 37, 39, 0, 48, 0, 66}), withCtrl);
}

// The stored author name is taken as it stands; "Set Author Name..." drops
// the forbidden characters of what is entered and keeps the rest in order.
TEST_F(SettingsDialog, TheAuthorNameIsReadAsStoredAndTheCommandCleansWhatIsEntered)
{
    const std::string stored = std::string(70, 'n') + " (the) [painter]";
    pluginApp().writeProfileString("general", "authorname", stored);
    String shownFirst, inDialog, afterCommand;
    run({act([&](CEffectDialog& d) {
             shownFirst = d.authorName();
             guitest::whenDialogUp([&](HWND ask) {
                 char text[256] = "";
                 GetDlgItemTextA(ask, IDC_NAME_EDIT, text, sizeof text);
                 inDialog = text;
                 SetDlgItemTextA(ask, IDC_NAME_EDIT, "<A>n(n) [B]|o*b\\\tc\r\n");
                 SendMessageA(GetDlgItem(ask, IDOK), BM_CLICK, 0, 0);
             });
             d.runContextCommand(kCommandAuthorName);
             afterCommand = d.authorName();
         }),
         close(IDCANCEL)});
    const String written = pluginApp().profileString("general", "authorname", "");
    pluginApp().writeProfileString("general", "authorname", "user");
    EXPECT_EQ(stored, shownFirst);
    EXPECT_EQ(stored, inDialog);
    EXPECT_EQ("Ann Bobc", afterCommand);
    EXPECT_EQ("Ann Bobc", written);
}

// The real painter over a picture: the preview paints its own copy, so a
// cancelled dialog leaves the caller's pixels and settings untouched, and
// Apply writes the "_current" setup.
TEST_F(SettingsDialog, ThePreviewNeverWritesTheCallersPictureAndApplyWritesTheSetup)
{
    OwnedBitmap picture(160, 120, 4);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, Pixel(uint8_t(x * 3), uint8_t(y * 2), 90, 255));
    const std::vector<uint8_t> before(picture.bits(), picture.bits() + picture.stride() * picture.height());
    MemorySettingsStore working;
    working.sectionWriter("other").setString("keep", "1");
    int finished = 0;
    auto waitForPaint = [&](CEffectDialog& d) {
        finished = d.finishedPaints();
        return finished >= 1;
    };
    steps() = {waitForPaint, close(IDCANCEL)};
    UINT_PTR timer = SetTimer(nullptr, 0, 10, &stepTimer);
    EXPECT_EQ(DialogOutcome::Cancelled, editCurrentSetup(working, picture, nullptr));
    KillTimer(nullptr, timer);
    EXPECT_GE(finished, 1);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), picture.bits()));
    EXPECT_FALSE(working.hasSection("_current"));

    steps() = {waitForPaint, close(IDOK)};
    timer = SetTimer(nullptr, 0, 10, &stepTimer);
    EXPECT_EQ(DialogOutcome::Applied, editCurrentSetup(working, picture, nullptr));
    KillTimer(nullptr, timer);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), picture.bits()));
    const PropertyReader& current = working.sectionReader("_current");
    EXPECT_FALSE(current.getString("brush.id", "").empty());
    EXPECT_EQ("", current.getString("name", "?"));
    EXPECT_EQ("0", current.getString("paramschanged", ""));
    EXPECT_EQ("1", working.sectionReader("other").getString("keep", ""));
}

// ---- Preset panel ----

// Acts on the Preset Save dialog once it is the dialog on top, one queued
// action per opening.
std::vector<std::function<void(HWND)>>& saveActions()
{
    static std::vector<std::function<void(HWND)>> list;
    return list;
}

void CALLBACK saveDialogTimer(HWND, UINT, UINT_PTR, DWORD)
{
    HWND top = guitest::topDialog();
    if (!top || !GetDlgItem(top, IDC_DESCRIPTION_EDIT) || saveActions().empty())
        return;
    std::function<void(HWND)> action = saveActions().front();
    saveActions().erase(saveActions().begin());
    action(top);
}

// Types the texts into the Save dialog and confirms.
std::function<void(HWND)> typeAndSave(const char* name, const char* description,
                                      std::vector<String>* shown = nullptr)
{
    return [=](HWND d) {
        if (shown) {
            shown->push_back(itemText(d, IDC_NAME_EDIT));
            shown->push_back(itemText(d, IDC_DESCRIPTION_EDIT));
        }
        SetDlgItemTextA(d, IDC_NAME_EDIT, name);
        SetDlgItemTextA(d, IDC_DESCRIPTION_EDIT, description);
        SendMessageA(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
    };
}

void click(CEffectDialog& d, int id)
{
    SendMessageA(d.hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(d.hwnd(), id)));
}

void choosePreset(CEffectDialog& d, int entry)
{
    HWND list = GetDlgItem(d.hwnd(), kPresetListId);
    SendMessageA(list, CB_SETCURSEL, entry, 0);
    SendMessageA(d.hwnd(), WM_COMMAND, MAKEWPARAM(kPresetListId, CBN_SELCHANGE), LPARAM(list));
}

struct ListEntry
{
    String text;
    LRESULT data;
};

std::vector<ListEntry> presetList(CEffectDialog& d)
{
    HWND list = GetDlgItem(d.hwnd(), kPresetListId);
    std::vector<ListEntry> entries;
    const int count = int(SendMessageA(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[128] = "";
        SendMessageA(list, CB_GETLBTEXT, i, LPARAM(text));
        entries.push_back({text, SendMessageA(list, CB_GETITEMDATA, i, 0)});
    }
    return entries;
}

int listSelection(CEffectDialog& d)
{
    return int(SendDlgItemMessageA(d.hwnd(), kPresetListId, CB_GETCURSEL, 0, 0));
}

// Answers message boxes from a list (the last answer repeats) and records them.
struct AnsweringBoxes
{
    explicit AnsweringBoxes(std::vector<int> answers) : answers(std::move(answers))
    {
        setMessageBoxHook([this](const MessageBoxRequest& request) {
            boxes.push_back(request);
            const size_t at = std::min(boxes.size(), this->answers.size()) - 1;
            return this->answers[at];
        });
    }
    ~AnsweringBoxes() { setMessageBoxHook(MessageBoxHook()); }
    std::vector<int> answers;
    std::vector<MessageBoxRequest> boxes;
};

class PresetPanel : public SettingsDialog
{
protected:
    PresetPanel() : folder("qx_preset_panel") {}

    void SetUp() override
    {
        SettingsDialog::SetUp();
        pluginApp().writeProfileInt("general", "autopreview", 0);
        pluginApp().writeProfileString("general", "authorname", "Ann");
        saveActions().clear();
        path = folder.path + "presets.ini";
    }
    void TearDown() override
    {
        saveActions().clear();
        setOpenFileHook(OpenFileHook());
        // Later suites read the profile's defaults.
        pluginApp().writeProfileInt("general", "autopreview", 1);
        pluginApp().writeProfileString("general", "authorname", "user");
        SettingsDialog::TearDown();
    }

    // Runs the dialog over the preset file; the store is saved and closed
    // afterwards, as the doors do.
    INT_PTR runOver(std::vector<Step> script)
    {
        std::unique_ptr<IniFile> store(new IniFile(path));
        steps() = std::move(script);
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, &stepTimer);
        const UINT_PTR saveTimer = SetTimer(nullptr, 0, 20, &saveDialogTimer);
        SettingsDialogSession session;
        session.components = &components;
        session.source = &source;
        session.painter = &painter;
        session.presets = store.get();
        session.presetName = "mine";
        const INT_PTR result = runEffectDialog(session);
        KillTimer(nullptr, saveTimer);
        KillTimer(nullptr, timer);
        return result;
    }

    String brushIdOf(int index) const { return components.brushes[index]->id; }

    ScratchFolder folder;
    std::string path;
};

const char kTwoPresets[] = "[Gamma]\r\nname=Gamma\r\nbrush.id=%s\r\nlastedit=2026/01/01 10:00:00\r\n"
                           "[Alpha]\r\nname=Alpha\r\nauthor=Bo\r\ndescription=soft words\r\n"
                           "brush.id=%s\r\nlastedit=2026/01/01 10:00:00\r\n";

TEST_F(PresetPanel, TheListStartsWithStartHereOnlyOnTheFirstRunAndWorksWithoutAStore)
{
    writeTextFile(path, String::fromFormat(kTwoPresets, brushIdOf(1).c_str(), brushIdOf(2).c_str()));
    pluginApp().writeProfileInt("general", "notfirstrun", 0);
    // The quick help of the first run comes first; a click closes it.
    guitest::whenDialogUp([](HWND help) { PostMessageA(help, WM_LBUTTONUP, 0, 0); });
    std::vector<ListEntry> first, later;
    int selected = -1;
    runOver({act([&](CEffectDialog& d) { first = presetList(d); }), close(IDCANCEL)});
    runOver({act([&](CEffectDialog& d) {
                 later = presetList(d);
                 selected = listSelection(d);
             }),
             close(IDCANCEL)});
    ASSERT_EQ(3u, first.size());
    EXPECT_EQ("<start here>", first[0].text);
    EXPECT_EQ(0, first[0].data);
    EXPECT_EQ("Alpha", first[1].text);
    EXPECT_EQ(1, first[1].data);
    EXPECT_EQ("Gamma", first[2].text);
    ASSERT_EQ(3u, later.size());
    EXPECT_EQ("<none>", later[0].text);
    EXPECT_EQ(0, selected);

    // No store at all: every preset command does nothing.
    AnsweringBoxes boxes({IDYES});
    Image reference(source.width(), source.height(), source.bits(), source.stride(), source.format());
    OwnedBitmap target(source.width(), source.height(), source.format());
    Canvas canvas = Canvas::whole(reference, target);
    BitmapPreviewSurface surface;
    std::vector<ListEntry> bare;
    String status;
    steps() = {act([&](CEffectDialog& d) {
                   for (int id : {kSavePresetId, kDeletePresetId, kRandomPresetId})
                       click(d, id);
                   choosePreset(d, 0);
                   d.presetsImported(0);
                   bare = presetList(d);
                   status = itemText(d.hwnd(), 1189);
               }),
               close(IDCANCEL)};
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, &stepTimer);
    CEffectDialog dialog(&components, &canvas, &surface, nullptr, nullptr);
    dialog.presetName = "mine";
    EXPECT_EQ(IDCANCEL, dialog.doModal());
    KillTimer(nullptr, timer);
    ASSERT_EQ(1u, bare.size());
    EXPECT_EQ("<none>", bare[0].text);
    EXPECT_EQ("mine", status);
    // No Save dialog, no question, no report.
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(PresetPanel, SaveCleansSortsSelectsAsksBeforeOverwritingAndWritesTheSection)
{
    writeTextFile(path, String::fromFormat(kTwoPresets, brushIdOf(1).c_str(), brushIdOf(2).c_str()));
    AnsweringBoxes boxes({IDOK, IDNO, IDYES});
    std::vector<ListEntry> afterNew, afterOverwrite, afterEarly, afterBlanks;
    int selectedNew = -1, selectedOverwrite = -1, selectedEarly = -1;
    String statusNew, descriptionNew;
    std::vector<String> reopened;
    const INT_PTR result = runOver({
        act([&](CEffectDialog& d) {
            // A name of forbidden characters only is empty.
            saveActions() = {typeAndSave("|*\t", "x"),
                             typeAndSave("Be|ta\t", "two\r\nlines\tand (more)\r\n")};
            click(d, kSavePresetId);
            afterNew = presetList(d);
            selectedNew = listSelection(d);
            statusNew = itemText(d.hwnd(), 1189);
            descriptionNew = d.presetDescription;
        }),
        act([&](CEffectDialog& d) {
            // Overwriting writes the setup now loaded.
            choosePreset(d, 1);
            // "No" shows the Save dialog again with what was entered.
            saveActions() = {typeAndSave("Beta", "new\twords"),
                             typeAndSave("Beta", "new words", &reopened)};
            click(d, kSavePresetId);
            afterOverwrite = presetList(d);
            selectedOverwrite = listSelection(d);
        }),
        act([&](CEffectDialog& d) {
            // Sorts before "<none>", yet lands behind it.
            saveActions() = {typeAndSave("1980s", "")};
            click(d, kSavePresetId);
            afterEarly = presetList(d);
            selectedEarly = listSelection(d);
        }),
        act([&](CEffectDialog& d) {
            // Blanks are part of the name, and of the question.
            saveActions() = {typeAndSave(" Oil ", ""), typeAndSave(" Oil ", "")};
            click(d, kSavePresetId);
            click(d, kSavePresetId);
            afterBlanks = presetList(d);
        }),
        close(IDOK)});
    EXPECT_EQ(IDOK, result);

    ASSERT_EQ(4u, boxes.boxes.size());
    EXPECT_EQ("empty name!", boxes.boxes[0].text);
    EXPECT_EQ(UINT(MB_OK), boxes.boxes[0].type);
    EXPECT_EQ("setting name Beta exists - overwrite?", boxes.boxes[1].text);
    EXPECT_EQ("overwrite?", boxes.boxes[1].caption);
    EXPECT_EQ(UINT(MB_YESNO), boxes.boxes[1].type);
    EXPECT_EQ(boxes.boxes[1].text, boxes.boxes[2].text);
    EXPECT_EQ("setting name  Oil  exists - overwrite?", boxes.boxes[3].text);

    ASSERT_EQ(4u, afterNew.size());
    EXPECT_EQ("Beta", afterNew[2].text);
    EXPECT_EQ(1, afterNew[2].data);
    EXPECT_EQ(2, selectedNew);
    EXPECT_EQ("Beta", statusNew);
    EXPECT_EQ("author: Ann\ntwo lines and more", descriptionNew);
    ASSERT_EQ(2u, reopened.size());
    EXPECT_EQ("Beta", reopened[0]);
    EXPECT_EQ("new words", reopened[1]);
    EXPECT_EQ(4u, afterOverwrite.size());
    EXPECT_EQ(1, selectedOverwrite);
    ASSERT_EQ(5u, afterEarly.size());
    EXPECT_EQ("<none>", afterEarly[0].text);
    EXPECT_EQ("1980s", afterEarly[1].text);
    EXPECT_EQ(1, selectedEarly);
    ASSERT_EQ(6u, afterBlanks.size());
    EXPECT_EQ(1, std::count_if(afterBlanks.begin(), afterBlanks.end(),
                               [](const ListEntry& e) { return e.text == " Oil "; }));

    // The file as written when the store closed.
    IniFile written(path);
    EXPECT_EQ((std::vector<String>{" Oil ", "1980s", "Alpha", "Beta", "Gamma"}),
              written.sectionNames());
    const PropertyReader& beta = written.sectionReader("Beta");
    EXPECT_EQ("Beta", beta.getString("name", ""));
    EXPECT_EQ("new words", beta.getString("description", ""));
    EXPECT_EQ("Ann", beta.getString("author", ""));
    EXPECT_EQ("dw1", beta.getString("type", ""));
    EXPECT_EQ(brushIdOf(2), beta.getString("brush.id", ""));
    EXPECT_FALSE(beta.getString("stroke.id", "").empty());
    EXPECT_FALSE(beta.getString("lastedit", "").empty());
    EXPECT_EQ("soft words", written.sectionReader("Alpha").getString("description", ""));
}

TEST_F(PresetPanel, DeleteAsksByNameSparesThePseudoEntryAndImportRefillsTheListKeepingTheChoice)
{
    writeTextFile(path, String::fromFormat(kTwoPresets, brushIdOf(1).c_str(), brushIdOf(2).c_str()));
    const std::string other = folder.path + "other.ini";
    writeTextFile(other, "[Zeta]\r\nname=Zeta\r\nlastedit=2026/02/01 10:00:00\r\n"
                         "[beta]\r\nlastedit=2026/02/01 10:00:00\r\n"
                         "[Gamma]\r\nname=old\r\nlastedit=2020/01/01 10:00:00\r\n");
    String importing = folder.path + "missing.ini";
    setOpenFileHook([&](const String&, const String&, String& chosen) {
        chosen = importing;
        return true;
    });
    AnsweringBoxes boxes({IDNO, IDYES, IDOK});
    std::vector<ListEntry> afterNo, afterYes, afterUnreadable, afterImport;
    int selectedAfterYes = -1, selectedAfterUnreadable = -1, selectedAfterImport = -1;
    String status;
    runOver({act([&](CEffectDialog& d) {
                 choosePreset(d, 0);
                 click(d, kDeletePresetId);
                 choosePreset(d, 1);
                 click(d, kDeletePresetId);
                 afterNo = presetList(d);
                 click(d, kDeletePresetId);
                 afterYes = presetList(d);
                 selectedAfterYes = listSelection(d);
                 status = itemText(d.hwnd(), 1189);
                 // An unreadable file merges nothing and says nothing.
                 choosePreset(d, 1);
                 d.runContextCommand(kCommandImportPresets);
                 afterUnreadable = presetList(d);
                 selectedAfterUnreadable = listSelection(d);
                 importing = other;
                 d.runContextCommand(kCommandImportPresets);
                 afterImport = presetList(d);
                 selectedAfterImport = listSelection(d);
             }),
             close(IDCANCEL)});
    // The two questions only: an import reports nothing.
    ASSERT_EQ(2u, boxes.boxes.size());
    EXPECT_EQ("Are you sure you want to delete setting \"Alpha\"?", boxes.boxes[0].text);
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), boxes.boxes[0].type);
    EXPECT_EQ(3u, afterNo.size());
    ASSERT_EQ(2u, afterYes.size());
    EXPECT_EQ("Gamma", afterYes[1].text);
    EXPECT_EQ(0, selectedAfterYes);
    // The loaded setup and its name stay.
    EXPECT_EQ("Alpha", status);
    EXPECT_EQ(2u, afterUnreadable.size());
    EXPECT_EQ(1, selectedAfterUnreadable);
    // Sorted as the user reads them, case aside, behind the pseudo entry.
    ASSERT_EQ(4u, afterImport.size());
    EXPECT_EQ("<none>", afterImport[0].text);
    EXPECT_EQ(0, afterImport[0].data);
    EXPECT_EQ("beta", afterImport[1].text);
    EXPECT_EQ("Gamma", afterImport[2].text);
    EXPECT_EQ("Zeta", afterImport[3].text);
    EXPECT_EQ(1, afterImport[3].data);
    // The chosen preset is still the one shown, where the refill put it.
    EXPECT_EQ(2, selectedAfterImport);

    IniFile written(path);
    EXPECT_EQ((std::vector<String>{"Gamma", "Zeta", "beta"}), written.sectionNames());
    EXPECT_EQ("Gamma", written.sectionReader("Gamma").getString("name", ""));
}

TEST_F(PresetPanel, ChoosingAPresetLoadsItAndAMoveMarksTheName)
{
    writeTextFile(path, String::fromFormat(kTwoPresets, brushIdOf(1).c_str(), brushIdOf(2).c_str()));
    String chosen, moved, tip;
    runOver({act([&](CEffectDialog& d) {
                 choosePreset(d, 1);
                 chosen = itemText(d.hwnd(), 1189);
                 tip = d.presetDescription;
                 wheel(d, 0, 1);
             }),
             idle(150), act([&](CEffectDialog& d) { moved = itemText(d.hwnd(), 1189); }),
             close(IDOK)});
    EXPECT_EQ("Alpha", chosen);
    EXPECT_EQ("author: Bo\nsoft words", tip);
    EXPECT_EQ(brushIdOf(2), components.currentBrush->id);
    EXPECT_EQ("Alpha*", moved);
}

TEST_F(PresetPanel, RandomPresetReachesEveryPresetAndCtrlClickSwitchesToRandomParams)
{
    // Every real entry for some tick count, the pseudo entry never.
    EXPECT_EQ(-1, randomPresetEntry(0, 5));
    EXPECT_EQ(-1, randomPresetEntry(1, 5));
    std::vector<int> hits(5, 0);
    for (unsigned long ticks = 0; ticks < 40; ++ticks) {
        EXPECT_EQ(1, randomPresetEntry(2, ticks));
        ++hits[randomPresetEntry(5, ticks)];
    }
    EXPECT_EQ((std::vector<int>{0, 10, 10, 10, 10}), hits);
    EXPECT_EQ(4, randomPresetEntry(5, 0xFFFFFFFFul));

    // One stored preset is enough to pick.
    writeTextFile(path, String::fromFormat("[Solo]\r\nbrush.id=%s\r\nlastedit=2026/01/01 10:00:00\r\n",
                                           brushIdOf(2).c_str()));
    String picked, afterCtrl, caption, afterParams, captionBack;
    int pickedEntry = -1, paramsEntry = -1;
    bool changedAfterParams = true;
    runOver({act([&](CEffectDialog& d) {
                 click(d, kRandomPresetId);
                 picked = itemText(d.hwnd(), 1189);
                 pickedEntry = listSelection(d);
                 ctrlHeld = true;
                 click(d, kRandomPresetId);
                 caption = itemText(d.hwnd(), kRandomPresetId);
                 afterCtrl = itemText(d.hwnd(), 1189);
                 ctrlHeld = false;
                 click(d, kRandomPresetId);
                 afterParams = itemText(d.hwnd(), 1189);
                 changedAfterParams = d.paramsChanged;
                 paramsEntry = listSelection(d);
                 ctrlHeld = true;
                 click(d, kRandomPresetId);
                 captionBack = itemText(d.hwnd(), kRandomPresetId);
                 ctrlHeld = false;
             }),
             close(IDCANCEL)});
    EXPECT_EQ("Solo", picked);
    EXPECT_EQ(1, pickedEntry);
    EXPECT_EQ("&Random Params", caption);
    EXPECT_EQ("Solo", afterCtrl);
    EXPECT_EQ("random", afterParams);
    EXPECT_FALSE(changedAfterParams);
    EXPECT_EQ(0, paramsEntry);
    EXPECT_EQ("&Random Preset", captionBack);
}

} // namespace
