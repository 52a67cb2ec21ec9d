#include "foundation/Exception.h"
#include "framework/Application.h"
#include "framework/Controls.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/FrameworkErrors.h"
#include "framework/MessageBox.h"
#include "framework/Resources.h"
#include "framework/SaveFileDialog.h"
#include "GuiTestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

const int kEdit = 1000, kProbe = 1001, kPlain = 1002;

CApplication& testApp()
{
    static CApplication app("frameworktests");
    return app;
}

// Records message boxes and answers them with `answer`.
struct MessageBoxRecorder
{
    explicit MessageBoxRecorder(int answer = IDOK)
    {
        setMessageBoxHook([this, answer](const MessageBoxRequest& r) {
            boxes.push_back(r);
            return answer;
        });
    }
    ~MessageBoxRecorder() { setMessageBoxHook(MessageBoxHook()); }
    std::vector<MessageBoxRequest> boxes;
};

int reports = 0;
void countReport(const char*, const String&)
{
    ++reports;
}

class TestDialog : public CDialog
{
public:
    explicit TestDialog(HWND parent) : CDialog(200, parent) {}

    bool onInitDialog() override
    {
        CDialog::onInitDialog();
        ownerEnabledDuringModal = owner() ? IsWindowEnabled(owner()) != FALSE : true;
        if (onInit)
            onInit(*this);
        return true;
    }
    void doDataExchange(DataExchange& exchange) override
    {
        ddxText(exchange, kEdit, name);
        ddvMaxChars(exchange, kEdit, name, 8);
    }
    bool onCommand(UINT id, UINT code, HWND control) override
    {
        if (id == kPlain || id == kProbe) {
            commandsSeen.push_back(id);
            if (throwOnCommand)
                throw std::runtime_error("handler failed");
            return true;
        }
        return CDialog::onCommand(id, code, control);
    }
    HWND owner() const { return GetWindow(hwnd_, GW_OWNER); }

    String name;
    bool ownerEnabledDuringModal = true;
    bool throwOnCommand = false;
    std::vector<UINT> commandsSeen;
    std::function<void(TestDialog&)> onInit;
};

// A button wrapper that takes the clicks its parent hands back.
class ReflectingButton : public CButton
{
public:
    bool onReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override
    {
        if (message == WM_COMMAND + kReflectOffset && HIWORD(wParam) == BN_CLICKED) {
            ++clicks;
            result = 0;
            return true;
        }
        return false;
    }
    int clicks = 0;
};

// One owner window for the whole suite: making and destroying visible
// top-level windows is slow under Wine.
CWnd& ownerWindow()
{
    static CWnd* window = [] {
        CWnd* w = new CWnd;
        RECT r = {100, 100, 500, 400};
        w->create(0, nullptr, "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, r, nullptr, 0);
        return w;
    }();
    return *window;
}

class FrameworkDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testApp().setResourceHandle(GetModuleHandleA(nullptr));
        ASSERT_TRUE(owner.isWindow());
        SetActiveWindow(owner.hwnd());
        reports = 0;
        setExceptionReporter(&countReport);
    }
    void TearDown() override
    {
        setExceptionReporter(nullptr);
        guitest::pendingActions().clear();
    }
    CWnd& owner = ownerWindow();
};

TEST_F(FrameworkDialog, EnterAndEscEndTheLoopAndTheOwnerIsDisabledOnlyWhileModal)
{
    TestDialog dialog(owner.hwnd());
    dialog.name = "start";
    guitest::whenDialogUp([](HWND d) {
        SetDlgItemTextA(d, kEdit, "typed");
        SetFocus(GetDlgItem(d, kEdit));
        guitest::pressKey(d, VK_RETURN);
    });
    EXPECT_EQ(IDOK, dialog.doModal());
    EXPECT_EQ("typed", dialog.name);
    EXPECT_FALSE(dialog.ownerEnabledDuringModal);
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
    EXPECT_FALSE(dialog.isWindow());

    TestDialog second(owner.hwnd());
    guitest::whenDialogUp([](HWND d) {
        SetFocus(GetDlgItem(d, kEdit));
        guitest::pressKey(d, VK_ESCAPE);
    });
    EXPECT_EQ(IDCANCEL, second.doModal());
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
}

TEST_F(FrameworkDialog, OwnerIsTheTopLevelWindowOrTheActiveOne)
{
    RECT r = {0, 0, 50, 20};
    CWnd child;
    ASSERT_TRUE(child.create(0, nullptr, "", WS_CHILD | WS_VISIBLE, r, owner.hwnd(), 5));
    EXPECT_EQ(owner.hwnd(), CDialog::resolveOwner(child.hwnd()));
    SetActiveWindow(owner.hwnd());
    EXPECT_EQ(GetActiveWindow(), CDialog::resolveOwner(nullptr));
    EXPECT_EQ(GetActiveWindow(), CDialog::resolveOwner(reinterpret_cast<HWND>(0x1234)));

    // With no owner given the dialog still disables the active window.
    TestDialog dialog(nullptr);
    guitest::whenDialogUp([](HWND d) { PostMessageA(d, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(IDCANCEL, dialog.doModal());
    EXPECT_FALSE(dialog.ownerEnabledDuringModal);
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
}

TEST_F(FrameworkDialog, NestedModalLoopsEndInnerFirstAndOuterEndsFromInside)
{
    TestDialog outer(owner.hwnd());
    INT_PTR innerResult = 0;
    bool outerDisabledWhileInner = false;
    // The action runs inside the outer loop, as a handler that pumps would.
    guitest::whenDialogUp([&](HWND) {
        TestDialog inner(outer.hwnd());
        inner.onInit = [&](TestDialog& i) {
            outerDisabledWhileInner = !IsWindowEnabled(outer.hwnd());
            outer.endDialog(77);
            PostMessageA(i.hwnd(), WM_COMMAND, IDOK, 0);
        };
        innerResult = inner.doModal();
    });
    EXPECT_EQ(77, outer.doModal());
    EXPECT_EQ(IDOK, innerResult);
    EXPECT_TRUE(outerDisabledWhileInner);
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
}

TEST_F(FrameworkDialog, AnExceptionInAHandlerIsReportedAndEndsTheDialogWithMinusOne)
{
    TestDialog dialog(owner.hwnd());
    dialog.throwOnCommand = true;
    guitest::whenDialogUp([](HWND d) { SendMessageA(GetDlgItem(d, kProbe), BM_CLICK, 0, 0); });
    EXPECT_EQ(-1, dialog.doModal());
    EXPECT_EQ(1, reports);
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));

    // A plain window's handler: the message answers 0 and the window lives.
    struct Thrower : CWnd
    {
        bool onTimer(UINT_PTR) override { throw Exception(kRuntimeException); }
    } thrower;
    RECT r = {0, 0, 10, 10};
    ASSERT_TRUE(thrower.create(0, nullptr, "", WS_POPUP, r, nullptr, 0));
    EXPECT_EQ(0, SendMessageA(thrower.hwnd(), WM_TIMER, 1, 0));
    EXPECT_EQ(2, reports);
    EXPECT_TRUE(thrower.isWindow());

    // The default reporter tells the user through the message-box seam.
    setExceptionReporter(nullptr);
    MessageBoxRecorder boxes;
    SendMessageA(thrower.hwnd(), WM_TIMER, 1, 0);
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_NE(String::npos, boxes.boxes[0].text.find("Runtime Exception"));
    EXPECT_EQ("frameworktests", boxes.boxes[0].caption);
}

TEST_F(FrameworkDialog, ChildNotificationsReachTheChildWrapperFirst)
{
    TestDialog dialog(owner.hwnd());
    ReflectingButton probe;
    dialog.onInit = [&](TestDialog& d) { ASSERT_TRUE(probe.subclassDlgItem(kProbe, d.hwnd())); };
    guitest::whenDialogUp([](HWND d) {
        SendMessageA(GetDlgItem(d, kProbe), BM_CLICK, 0, 0);
        SendMessageA(GetDlgItem(d, kPlain), BM_CLICK, 0, 0);
        PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(IDCANCEL, dialog.doModal());
    EXPECT_EQ(1, probe.clicks);
    // The wrapped button's click stopped at the wrapper; the plain one came
    // to the dialog.
    ASSERT_EQ(1u, dialog.commandsSeen.size());
    EXPECT_EQ(UINT(kPlain), dialog.commandsSeen[0]);
    EXPECT_EQ(nullptr, probe.hwnd());
}

TEST_F(FrameworkDialog, DataExchangeLimitsTheEditAndRefusesALongerText)
{
    MessageBoxRecorder boxes;
    TestDialog dialog(owner.hwnd());
    dialog.name = "abc";
    LRESULT limit = 0;
    String shownAtStart;
    guitest::whenDialogUp([&](HWND d) {
        limit = SendDlgItemMessageA(d, kEdit, EM_GETLIMITTEXT, 0, 0);
        char text[32] = "";
        GetDlgItemTextA(d, kEdit, text, sizeof text);
        shownAtStart = text;
        // WM_SETTEXT passes the typing limit, as a paste of a program would.
        SetDlgItemTextA(d, kEdit, "ninechars");
        SendMessageA(d, WM_COMMAND, IDOK, 0);
        SetDlgItemTextA(d, kEdit, "eight888");
        PostMessageA(d, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(IDOK, dialog.doModal());
    EXPECT_EQ(8, limit);
    EXPECT_EQ("abc", shownAtStart);
    EXPECT_EQ("eight888", dialog.name);
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ("Enter no more than 8 characters.", boxes.boxes[0].text);
}

TEST_F(FrameworkDialog, AMissingTemplateGivesMinusOneAndLeavesTheOwnerEnabled)
{
    CDialog dialog(4242, owner.hwnd());
    EXPECT_EQ(-1, dialog.doModal());
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
}

TEST(FrameworkResources, StringsComeFromTheResourceModuleOnly)
{
    testApp().setResourceHandle(GetModuleHandleA(nullptr));
    EXPECT_EQ("seven", loadResourceString(7));
    EXPECT_EQ("", loadResourceString(8));
}

} // namespace

TEST(FrameworkFileDialogs, SaveDialogShowsALongDefaultNameWhole)
{
    // Longer than MAX_PATH, as a default name built from a long title is.
    const String proposed = String(300, 'n') + ".png";
    String shown;
    guitest::whenDialogUp([&shown](HWND dialog) {
        char text[4 * MAX_PATH] = "";
        HWND name = GetDlgItem(dialog, 0x47c);
        HWND edit = name ? reinterpret_cast<HWND>(SendMessageA(name, CBEM_GETEDITCONTROL, 0, 0))
                         : nullptr;
        GetWindowTextA(edit ? edit : GetDlgItem(dialog, 0x480), text, sizeof text);
        shown = text;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    int filter = 1;
    String chosen;
    EXPECT_FALSE(askSaveFileName(nullptr, "Pictures|*.png||", proposed, filter, chosen));
    EXPECT_EQ(proposed.size(), shown.size());
    EXPECT_TRUE(proposed == shown);
}
