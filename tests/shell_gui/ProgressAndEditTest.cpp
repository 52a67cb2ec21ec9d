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
