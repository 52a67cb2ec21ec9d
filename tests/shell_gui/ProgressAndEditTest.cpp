#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "engine/DefaultRenderCallbacks.h"
#include "framework/Application.h"
#include "shell/app/ProgressDialog.h"
#include "shell/app/ShellResources.h"

namespace {

class CountingSink : public DefaultRenderCallbacks
{
public:
    CountingSink() : DefaultRenderCallbacks(&flag) {}
    void finished() override { ++finishedCalls; }
    bool flag = false;
    int finishedCalls = 0;
};

TEST(ProgressDialog, PercentCancelAndChainedFinish)
{
    CApplication app("progress test");
    app.attachModule(GetModuleHandleA(nullptr));
    CountingSink next;
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    {
    // The owner stays disabled for the whole run.
    CProgressDialog dialog("Painting", &next, owner);
    ASSERT_TRUE(dialog.isWindow());
    EXPECT_FALSE(IsWindowEnabled(owner));
    EXPECT_EQ("Painting", dialog.itemText(IDC_PROGRESS_TITLE));
    // Cancel before the first report: the dialog is hidden and ignores it.
    SendMessageA(dialog.hwnd(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(dialog.isCancelled());

    EXPECT_TRUE(dialog.progress(0.994f));
    EXPECT_EQ("99%", dialog.itemText(IDC_PROGRESS_PERCENT));
    EXPECT_TRUE(IsWindowVisible(dialog.hwnd()));
    EXPECT_TRUE(dialog.progress(0.995f));
    EXPECT_EQ("100%", dialog.itemText(IDC_PROGRESS_PERCENT));
    EXPECT_EQ(100, int(dialog.sendItem(IDC_PROGRESS_BAR, PBM_GETPOS)));

    // A click on Cancel queued during the run is served by the next report.
    PostMessageA(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(dialog.item(IDCANCEL)));
    EXPECT_FALSE(dialog.progress(0.5f));
    EXPECT_TRUE(dialog.isCancelled());

    dialog.finished();
    EXPECT_EQ(1, next.finishedCalls);
    dialog.reserved();
    EXPECT_EQ(1, next.finishedCalls);
    }
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
}

TEST(DecimalText, ParsesAsTheEditReadsIt)
{
    EXPECT_FLOAT_EQ(-3.25f, parseDecimalText(" - 3.25 "));
    EXPECT_FLOAT_EQ(3.2f, parseDecimalText("3.2.5"));
    EXPECT_FLOAT_EQ(12.0f, parseDecimalText("12x4"));
    EXPECT_FLOAT_EQ(0.0f, parseDecimalText(""));
}

TEST(ArrowKeyEdit, StepsClampsAndFilters)
{
    CApplication app("edit test");
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    HWND edit = CreateWindowExA(0, "EDIT", "1.25", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, parent,
                                reinterpret_cast<HMENU>(7), GetModuleHandleA(nullptr), nullptr);
    CArrowKeyEdit number;
    ASSERT_TRUE(number.subclassWindow(edit));
    number.setDecimalRange(0.0f, 2.0f, 0.5f, 2);
    SendMessageA(edit, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ("1.75", number.text());
    SendMessageA(edit, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ("2.00", number.text());
    SendMessageA(edit, WM_CHAR, '.', 0);
    EXPECT_EQ("2.00", number.text());

    number.setWholeRange(0, 10);
    number.setText("10");
    SendMessageA(edit, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ("10", number.text());
    number.setText("abc");
    SendMessageA(edit, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ("abc", number.text());
    number.setText("5");
    SendMessageA(edit, EM_SETSEL, 1, 1);
    SendMessageA(edit, WM_CHAR, '-', 0);
    EXPECT_EQ("5", number.text());
    number.unsubclassWindow();
    DestroyWindow(parent);
}

} // namespace

#include <atomic>
#include <thread>
#include <vector>

#include "foundation/ModulePaths.h"
#include "framework/CommandIds.h"
#include "framework/Screenshot.h"
#include "shell/app/DibDoc.h"
#include "shell/app/MainFrame.h"
#include "shell/history/ImageStore.h"
#include "shell/host/PluginModule.h"
#include "shell/host/PluginRegistry.h"
#include "shell_gui/ShellGuiSupport.h"

namespace {

class PluginRunCancel : public shellgui::ShellFixture {};

std::vector<uint8_t> pixelsOf(const DocumentDib& image)
{
    const uint8_t* bits = image.bits();
    return std::vector<uint8_t>(bits, bits + size_t(image.stride()) * size_t(image.height()));
}

// What a step that did not happen leaves as it was.
struct HistoryView
{
    explicit HistoryView(ActionHistory& history)
        : undoCount(history.undoCount()), redoCount(history.redoCount()),
          name(history.currentName()), pixels(pixelsOf(*history.currentImage()))
    {
    }
    bool operator==(const HistoryView& o) const
    {
        return undoCount == o.undoCount && redoCount == o.redoCount && name == o.name &&
               pixels == o.pixels;
    }

    size_t undoCount, redoCount;
    String name;
    std::vector<uint8_t> pixels;
};

TEST_F(PluginRunCancel, CancelInTheProgressWindowKeepsTheImageAndHistory)
{
    // The slow plug-in joins the Effects menu that start-up builds.
    ASSERT_TRUE(PluginRegistry::instance().loadPlugin(ModulePaths::exeDirectory() +
                                                      "testplugins\\slow.qlplg"));
    // 3000 rows at 10 ms each: half a minute unless cancelled, so a run that
    // finished on a loaded machine cannot pass for a cancelled one (the
    // history below would have grown).
    ASSERT_TRUE(start("\"" + writePicture("slow.png", 40, 3000) + "\""));
    CDibDoc* doc = activeDocument();
    ASSERT_NE(nullptr, doc);
    ActionHistory& history = doc->history();
    command(ID_COLOR_INVERT);
    command(kIdEditUndo);
    ASSERT_EQ(1u, history.redoCount());
    const HistoryView before(history);
    const UINT slow = UINT(PluginRegistry::instance().find("qx_test_slow")->commandId());
    EXPECT_EQ("Slow", menuText(slow));
    ASSERT_TRUE(frame().isCommandEnabled(slow));

    // The run holds the user-interface thread: a second thread presses
    // Cancel once the progress window shows.
    std::atomic<bool> pressed(false);
    std::thread watcher([&pressed] {
        for (const DWORD until = GetTickCount() + 10000; GetTickCount() < until; Sleep(5)) {
            HWND progress = FindWindowA("#32770", "Processing...");
            if (progress && IsWindowVisible(progress)) {
                if (guitest::screenshotsAsked()) {
                    // Let the bar move first; the run pumps its messages, so
                    // the capture's repaint is answered.
                    Sleep(400);
                    shellgui::saveScreenshot(progress, "shell_progress");
                }
                PostMessageA(GetDlgItem(progress, IDCANCEL), BM_CLICK, 0, 0);
                pressed = true;
                return;
            }
        }
    });
    command(slow);
    watcher.join();
    ASSERT_TRUE(pressed);
    pump();
    EXPECT_EQ(nullptr, FindWindowA("#32770", "Processing..."));
    EXPECT_TRUE(IsWindowEnabled(app->mainWindow));
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(HistoryView(history) == before);
    // The render was stopped, not the plug-in's dialog: its settings stay.
    EXPECT_EQ("confirmed", PluginRegistry::instance().find("qx_test_slow")->settingsText());

    // The shell runs on, and the next run of the plug-in is not cancelled.
    command(ID_COLOR_INVERT);
    EXPECT_EQ(1u, history.undoCount());
    openWith(writePicture("short.png", 8, 12));
    command(kIdFileOpen);
    CDibDoc* second = activeDocument();
    ASSERT_NE(doc, second);
    command(slow);
    EXPECT_EQ(1u, second->history().undoCount());
    const DocumentDib& painted = *second->history().currentImage();
    EXPECT_EQ(0, painted.pixelAddress(7, 11)[0]);
    EXPECT_EQ(0, painted.pixelAddress(0, 0)[2]);
    EXPECT_TRUE(boxes.empty());
}

class EditMemory : public shellgui::ShellFixture {};

TEST_F(EditMemory, AStepWithoutMemoryIsToldAndKeepsTheHistory)
{
    ASSERT_TRUE(start("\"" + writePicture("memory.png", 30, 20) + "\""));
    CDibDoc* doc = activeDocument();
    ASSERT_NE(nullptr, doc);
    ActionHistory& history = doc->history();
    // One step to undo (a quarter turn, which needs a new image) and one to
    // redo.
    for (UINT id : {UINT(ID_IMAGE_ROTATE_CW), UINT(ID_COLOR_INVERT), UINT(kIdEditUndo)})
        command(id);
    const HistoryView before(history);
    ASSERT_EQ(1u, before.undoCount);
    ASSERT_EQ(1u, before.redoCount);

    // No room for a second image of this size.
    history.store().setPixelLimit(history.store().pixelBytes() + 100);
    command(ID_IMAGE_ROTATE_CCW);
    command(kIdEditUndo);
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("Not enough memory", boxes[0].text);
    EXPECT_EQ("Not enough memory", boxes[1].text);
    EXPECT_TRUE(HistoryView(history) == before);
    EXPECT_EQ("&Undo Rotate 90\260 CW\tCtrl+Z", menuText(kIdEditUndo));

    // With memory again the kept steps go on as before.
    history.store().setPixelLimit(0);
    command(kIdEditUndo);
    EXPECT_EQ(0u, history.undoCount());
    EXPECT_EQ(2u, history.redoCount());
    EXPECT_EQ(2u, boxes.size());
}

} // namespace
