#include "shell_gui/ShellGuiSupport.h"

#include <algorithm>
#include <utility>
#include <vector>

#include <commctrl.h>

#include "framework/CommandIds.h"
#include "framework/FrameWnd.h"
#include "framework/GuiTestSupport.h"
#include "shell/app/DibView.h"
#include "shell/app/MainFrame.h"

namespace {

using shellgui::ShellFixture;

class ShellToolBar : public ShellFixture
{
protected:
    CShellToolBar& bar() { return frame().toolBar(); }

    RECT screenRect(HWND window)
    {
        RECT r;
        GetWindowRect(window, &r);
        return r;
    }

    // The frame's client area on screen, where bars dock.
    RECT dockArea()
    {
        RECT r;
        GetClientRect(frame().hwnd(), &r);
        MapWindowPoints(frame().hwnd(), nullptr, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    POINT gripperCentre()
    {
        const RECT grip = bar().gripperRect();
        const RECT window = screenRect(bar().hwnd());
        return POINT{window.left + (grip.left + grip.right) / 2,
                     window.top + (grip.top + grip.bottom) / 2};
    }

    static LPARAM clientPoint(HWND window, POINT screen)
    {
        ScreenToClient(window, &screen);
        return MAKELPARAM(WORD(short(screen.x)), WORD(short(screen.y)));
    }

    // Presses on `from` (the gripper, or a floating window's caption) and
    // releases at `to`, as the mouse would with the bar holding the capture.
    void drag(HWND from, POINT start, POINT to)
    {
        SendMessageA(from, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(start.x, start.y));
        const POINT middle = {(start.x + to.x) / 2, (start.y + to.y) / 2};
        SendMessageA(bar().hwnd(), WM_MOUSEMOVE, MK_LBUTTON, clientPoint(bar().hwnd(), middle));
        SendMessageA(bar().hwnd(), WM_MOUSEMOVE, MK_LBUTTON, clientPoint(bar().hwnd(), to));
        SendMessageA(bar().hwnd(), WM_LBUTTONUP, 0, clientPoint(bar().hwnd(), to));
        pump();
    }

    POINT buttonCentre(int index)
    {
        RECT r = {0, 0, 0, 0};
        SendMessageA(bar().hwnd(), TB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r));
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    void placeFrame(int left, int top, int width, int height)
    {
        SetWindowPos(app->mainWindow, nullptr, left, top, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        pump();
    }

    static RECT workArea()
    {
        MONITORINFO info = {};
        info.cbSize = sizeof info;
        GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
        return info.rcWork;
    }

    static bool inside(const RECT& inner, const RECT& outer)
    {
        return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
               inner.bottom <= outer.bottom;
    }

    struct Grid
    {
        int rows;
        int columns;
    };
    // Checks that the bar shows all 13 buttons, each whole within its
    // client area, the widest label's width and clear of the others, and
    // returns how they are laid out.
    Grid everyButtonShown(const char* where)
    {
        HWND toolbar = bar().hwnd();
        RECT client;
        GetClientRect(toolbar, &client);
        const int width = LOWORD(SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0));
        std::vector<RECT> shown;
        Grid grid = {0, 0};
        int inRow = 0;
        for (int i = 0; i < bar().buttonCount(); ++i) {
            TBBUTTON button = {};
            SendMessageA(toolbar, TB_GETBUTTON, WPARAM(i), reinterpret_cast<LPARAM>(&button));
            if ((button.fsState & TBSTATE_HIDDEN) || (button.fsStyle & BTNS_SEP))
                continue;
            RECT item = {0, 0, 0, 0};
            SendMessageA(toolbar, TB_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&item));
            EXPECT_TRUE(inside(item, client)) << where << ": button " << i;
            EXPECT_EQ(width, item.right - item.left) << where << ": button " << i;
            for (const RECT& other : shown) {
                RECT both;
                EXPECT_FALSE(IntersectRect(&both, &item, &other)) << where << ": button " << i;
            }
            if (shown.empty() || item.top != shown.back().top) {
                ++grid.rows;
                inRow = 0;
            }
            grid.columns = std::max(grid.columns, ++inRow);
            shown.push_back(item);
        }
        EXPECT_EQ(13u, shown.size()) << where;
        return grid;
    }

    // Wine copies what windows paint to the screen at most every 50 ms.
    void settle()
    {
        pump();
        Sleep(80);
        pump();
    }

    // What the screen shows of the window's client area now, and what a
    // fresh paint of all of it shows, are the same.
    void showsAFreshPaint(HWND window, const char* after)
    {
        settle();
        const guitest::Capture shown = guitest::captureScreen(guitest::screenClientRect(window));
        RedrawWindow(window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        settle();
        const guitest::Capture fresh = guitest::captureScreen(guitest::screenClientRect(window));
        ASSERT_GT(shown.width, 0) << after;
        EXPECT_EQ(0, guitest::differingPixels(shown, fresh)) << after;
    }
};

TEST_F(ShellToolBar, DocksAtTopDragsToAnEdgeFloatsAndComesBack)
{
    ASSERT_TRUE(start("-n"));
    HWND toolbar = bar().hwnd();

    // Docked at the top, with a gripper in a border of its own.
    EXPECT_EQ(DockSide::top, bar().dockSide());
    EXPECT_EQ(frame().hwnd(), GetParent(toolbar));
    RECT area = dockArea();
    RECT r = screenRect(toolbar);
    EXPECT_EQ(area.top, r.top);
    EXPECT_EQ(area.left, r.left);
    everyButtonShown("top");
    RECT gripper = bar().gripperRect();
    EXPECT_FALSE(IsRectEmpty(&gripper));
    const POINT grip = gripperCentre();
    EXPECT_EQ(HTCAPTION, SendMessageA(toolbar, WM_NCHITTEST, 0, MAKELPARAM(grip.x, grip.y)));
    EXPECT_GT(screenRect(frame().mdiClient()).top, r.bottom - 2);

    // A press on the gripper without a move is no drag.
    drag(toolbar, grip, POINT{grip.x + 1, grip.y + 1});
    EXPECT_EQ(DockSide::top, bar().dockSide());

    // Escape held during the drag leaves the bar where it was.
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    const BYTE escape = keys[VK_ESCAPE];
    keys[VK_ESCAPE] = 0x80;
    SetKeyboardState(keys);
    drag(toolbar, grip, POINT{area.left + 4, (area.top + area.bottom) / 2});
    keys[VK_ESCAPE] = escape;
    SetKeyboardState(keys);
    EXPECT_EQ(DockSide::top, bar().dockSide());
    EXPECT_NE(toolbar, GetCapture());

    // To the left edge: one button per row, the document area right of it.
    drag(toolbar, grip, POINT{area.left + 4, (area.top + area.bottom) / 2});
    ASSERT_EQ(DockSide::left, bar().dockSide());
    area = dockArea();
    r = screenRect(toolbar);
    EXPECT_EQ(area.left, r.left);
    EXPECT_EQ(area.top, r.top);
    EXPECT_GT(r.bottom - r.top, r.right - r.left);
    EXPECT_GE(screenRect(frame().mdiClient()).left, r.right);
    EXPECT_EQ(screenRect(frame().mdiClient()).top, area.top);
    shellgui::saveScreenshot(app->mainWindow, "shell_toolbar_left");

    // Into the middle: a small window of its own, owned by the frame; the
    // document area takes the whole width again.
    const POINT middle = {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
    drag(toolbar, gripperCentre(), middle);
    ASSERT_EQ(DockSide::floating, bar().dockSide());
    HWND floating = bar().floatingWindow();
    ASSERT_NE(nullptr, floating);
    EXPECT_EQ(floating, GetParent(toolbar));
    EXPECT_EQ(frame().hwnd(), GetWindow(floating, GW_OWNER));
    EXPECT_TRUE(IsWindowVisible(floating));
    gripper = bar().gripperRect();
    EXPECT_TRUE(IsRectEmpty(&gripper));
    EXPECT_EQ(area.left, screenRect(frame().mdiClient()).left);
    EXPECT_EQ(area.top, screenRect(frame().mdiClient()).top);
    pump();
    shellgui::saveScreenshot(floating, "shell_toolbar_floating");
    shellgui::saveScreenshot(app->mainWindow, "shell_toolbar_floating_frame");

    // Its buttons still reach the frame.
    openWith(writePicture("floated.png", 20, 10));
    const POINT open = buttonCentre(0);
    SendMessageA(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(open.x, open.y));
    SendMessageA(toolbar, WM_LBUTTONUP, 0, MAKELPARAM(open.x, open.y));
    pump();
    EXPECT_EQ(1, documentCount());

    // View > Toolbar hides and shows the floating window.
    command(kIdViewToolbar);
    EXPECT_FALSE(IsWindowVisible(floating));
    EXPECT_FALSE(IsWindowVisible(toolbar));
    command(kIdViewToolbar);
    EXPECT_TRUE(IsWindowVisible(floating));

    // A double click on its caption docks it where it was; floated again,
    // it comes back in the same window.
    RECT caption = screenRect(floating);
    SendMessageA(floating, WM_NCLBUTTONDBLCLK, HTCAPTION,
                 MAKELPARAM(caption.left + 10, caption.top + 4));
    pump();
    EXPECT_EQ(DockSide::left, bar().dockSide());
    EXPECT_EQ(frame().hwnd(), GetParent(toolbar));
    EXPECT_FALSE(IsWindowVisible(floating));
    drag(toolbar, gripperCentre(), middle);
    ASSERT_EQ(floating, bar().floatingWindow());
    EXPECT_TRUE(IsWindowVisible(floating));

    // Dragged by its caption to the top edge, it docks there again.
    caption = screenRect(floating);
    const POINT title = {caption.left + 10, caption.top + GetSystemMetrics(SM_CYSMCAPTION) / 2};
    drag(floating, title, POINT{(area.left + area.right) / 2, area.top + 2});
    EXPECT_EQ(DockSide::top, bar().dockSide());
    EXPECT_EQ(nullptr, bar().floatingWindow());
    EXPECT_EQ(frame().hwnd(), GetParent(toolbar));
    EXPECT_TRUE(IsWindowVisible(toolbar));
    EXPECT_EQ(area.top, screenRect(toolbar).top);
    EXPECT_GT(screenRect(frame().mdiClient()).top, area.top);
}

TEST_F(ShellToolBar, PointerOverAButtonShowsItsPromptAndTheTipItsShortText)
{
    ASSERT_TRUE(start("-n"));
    HWND toolbar = bar().hwnd();
    EXPECT_EQ("Ready", statusText(0));
    const POINT open = buttonCentre(0);
    SendMessageA(toolbar, WM_MOUSEMOVE, 0, MAKELPARAM(open.x, open.y));
    pump();
    EXPECT_EQ("Open an existing image", statusText(0));
    shellgui::saveScreenshot(app->mainWindow, "shell_status_over_open");

    // A separator has no prompt.
    const POINT gap = buttonCentre(2);
    SendMessageA(toolbar, WM_MOUSEMOVE, 0, MAKELPARAM(gap.x, gap.y));
    EXPECT_EQ("Ready", statusText(0));
    SendMessageA(toolbar, WM_MOUSEMOVE, 0, MAKELPARAM(open.x, open.y));
    EXPECT_EQ("Open an existing image", statusText(0));
    SendMessageA(toolbar, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ("Ready", statusText(0));

    NMTTDISPINFOA tip = {};
    tip.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageA(toolbar, TB_GETTOOLTIPS, 0, 0));
    tip.hdr.idFrom = kIdFileOpen;
    tip.hdr.code = TTN_GETDISPINFOA;
    SendMessageA(frame().hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    ASSERT_NE(nullptr, tip.lpszText);
    EXPECT_STREQ("Open File", tip.lpszText);
}

TEST_F(ShellToolBar, RightAndBottomEdgesAndFloatingRowsKeepEveryBarInItsPlace)
{
    openWith(writePicture("docked.png", 40, 30));
    ASSERT_TRUE(start("-n"));
    command(kIdFileOpen);
    ASSERT_EQ(1, documentCount());
    HWND toolbar = bar().hwnd();
    HWND status = frame().shellStatusBar().hwnd();
    HWND tabs = frame().tabBar().hwnd();
    ASSERT_TRUE(IsWindowVisible(tabs));
    RECT area = dockArea();

    // Right edge: the bar runs from the top of the client area down to the
    // status bar, the documents and their tabs left of it.
    drag(toolbar, gripperCentre(), POINT{area.right - 4, (area.top + area.bottom) / 2});
    ASSERT_EQ(DockSide::right, bar().dockSide());
    RECT r = screenRect(toolbar);
    EXPECT_EQ(area.right, r.right);
    EXPECT_EQ(area.top, r.top);
    EXPECT_EQ(screenRect(status).top, r.bottom);
    EXPECT_LE(screenRect(frame().mdiClient()).right, r.left);
    EXPECT_LE(screenRect(tabs).right, r.left);
    shellgui::saveScreenshot(app->mainWindow, "shell_toolbar_right");

    // Bottom edge: just above the status bar; the tab bar stays under the
    // documents, above the toolbar.
    drag(toolbar, gripperCentre(), POINT{(area.left + area.right) / 2, area.bottom - 4});
    ASSERT_EQ(DockSide::bottom, bar().dockSide());
    r = screenRect(toolbar);
    const int buttonHeight = HIWORD(SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0));
    everyButtonShown("bottom");
    EXPECT_EQ(area.left, r.left);
    EXPECT_EQ(screenRect(status).top, r.bottom);
    EXPECT_LE(screenRect(tabs).bottom, r.top);
    // The tab bar's top two rows lie under the documents' edge.
    EXPECT_EQ(screenRect(frame().mdiClient()).bottom, screenRect(tabs).top + 2);
    EXPECT_EQ(area.top, screenRect(frame().mdiClient()).top);
    shellgui::saveScreenshot(app->mainWindow, "shell_toolbar_bottom");

    // Floating: a row per group of buttons, and no row ends in a divider
    // standing on its own; docked again, the dividers are back between the
    // buttons of a row.
    drag(toolbar, gripperCentre(), POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2});
    ASSERT_EQ(DockSide::floating, bar().dockSide());
    const int count = bar().buttonCount();
    // Rows of buttons and the widest row's count, with no divider shown.
    auto rowsAndColumns = [&]() {
        int rows = 0, columns = 0, inRow = 0;
        LONG rowTop = -1;
        for (int i = 0; i < count; ++i) {
            TBBUTTON button = {};
            SendMessageA(toolbar, TB_GETBUTTON, WPARAM(i), reinterpret_cast<LPARAM>(&button));
            if (button.fsState & TBSTATE_HIDDEN)
                continue;
            RECT item = {0, 0, 0, 0};
            SendMessageA(toolbar, TB_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&item));
            if (item.top != rowTop) {
                ++rows;
                rowTop = item.top;
                inRow = 0;
            }
            columns = std::max(columns, ++inRow);
            EXPECT_FALSE(button.fsStyle & BTNS_SEP) << "visible divider at " << i;
        }
        return std::make_pair(rows, columns);
    };
    HWND floating = bar().floatingWindow();
    auto fitsItsWindow = [&]() {
        RECT inside;
        GetClientRect(floating, &inside);
        const RECT r = screenRect(toolbar);
        EXPECT_EQ(inside.right, r.right - r.left);
        EXPECT_EQ(inside.bottom, r.bottom - r.top);
    };
    EXPECT_EQ(5, rowsAndColumns().first);
    fitsItsWindow();
    shellgui::saveScreenshot(floating, "shell_toolbar_floating");

    // Its window sized by an edge: the buttons fill as many columns as the
    // new width holds (or rows as the new height holds), and the window
    // fits them with the opposite edges where they were.
    const int buttonWidth = LOWORD(SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0));
    RECT sized = screenRect(floating);
    const RECT before = sized;
    sized.right = sized.left + 2 * buttonWidth + buttonWidth / 2;
    SendMessageA(floating, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&sized));
    EXPECT_EQ((std::make_pair(7, 2)), rowsAndColumns());
    EXPECT_EQ(before.left, sized.left);
    EXPECT_EQ(before.top, sized.top);
    EXPECT_LT(sized.right - sized.left, 3 * buttonWidth);
    SetWindowPos(floating, nullptr, sized.left, sized.top, sized.right - sized.left,
                 sized.bottom - sized.top, SWP_NOZORDER | SWP_NOACTIVATE);
    pump();
    fitsItsWindow();
    shellgui::saveScreenshot(floating, "shell_toolbar_floating_sized");
    sized = screenRect(floating);
    const RECT tall = sized;
    RECT last = {0, 0, 0, 0};
    SendMessageA(toolbar, TB_GETITEMRECT, WPARAM(count - 1), reinterpret_cast<LPARAM>(&last));
    const int chrome = (tall.bottom - tall.top) - last.bottom;
    sized.top = sized.bottom - chrome - 3 * buttonHeight - buttonHeight / 2;
    SendMessageA(floating, WM_SIZING, WMSZ_TOP, reinterpret_cast<LPARAM>(&sized));
    EXPECT_EQ((std::make_pair(3, 5)), rowsAndColumns());
    EXPECT_EQ(tall.bottom, sized.bottom);
    EXPECT_EQ(tall.left, sized.left);
    SetWindowPos(floating, nullptr, sized.left, sized.top, sized.right - sized.left,
                 sized.bottom - sized.top, SWP_NOZORDER | SWP_NOACTIVATE);
    pump();
    fitsItsWindow();
    drag(floating, POINT{screenRect(floating).left + 10, screenRect(floating).top + 4},
         POINT{(area.left + area.right) / 2, area.top + 2});
    ASSERT_EQ(DockSide::top, bar().dockSide());
    everyButtonShown("docked again");
    int dividers = 0;
    for (int i = 1; i + 1 < count; ++i) {
        TBBUTTON before = {}, button = {};
        SendMessageA(toolbar, TB_GETBUTTON, WPARAM(i - 1), reinterpret_cast<LPARAM>(&before));
        SendMessageA(toolbar, TB_GETBUTTON, WPARAM(i), reinterpret_cast<LPARAM>(&button));
        if (!(button.fsStyle & BTNS_SEP))
            continue;
        const bool rowBreaks = (before.fsState & TBSTATE_WRAP) != 0;
        EXPECT_EQ(rowBreaks, (button.fsState & TBSTATE_HIDDEN) != 0) << i;
        dividers += !rowBreaks;
    }
    EXPECT_GT(dividers, 0);

    // Closing the frame while the bar floats takes its window along.
    drag(toolbar, gripperCentre(), POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2});
    ASSERT_EQ(floating, bar().floatingWindow());
    HWND main = app->mainWindow;
    closeFrame();
    EXPECT_FALSE(IsWindow(main));
    EXPECT_FALSE(IsWindow(floating));
    EXPECT_FALSE(IsWindow(toolbar));
}

TEST_F(ShellToolBar, DockedBarWrapsIntoTheRowsOrColumnsItsEdgeHolds)
{
    ASSERT_TRUE(start("-n"));
    HWND toolbar = bar().hwnd();
    HWND status = frame().shellStatusBar().hwnd();

    // Along the top of a frame too narrow for one line: rows of whole
    // buttons right across it, the documents below them; the rows follow
    // the frame's width.
    placeFrame(0, 0, 992, 700);
    const Grid top = everyButtonShown("top, 992");
    EXPECT_GT(top.rows, 1);
    RECT area = dockArea();
    RECT r = screenRect(toolbar);
    EXPECT_EQ(area.left, r.left);
    EXPECT_EQ(area.right, r.right);
    EXPECT_EQ(area.top, r.top);
    EXPECT_EQ(r.bottom, screenRect(frame().mdiClient()).top);
    showsAFreshPaint(toolbar, "top, 992");
    shellgui::saveScreenshot(app->mainWindow, "shell_toolbar_top_narrow");
    placeFrame(0, 0, 420, 700);
    EXPECT_GT(everyButtonShown("top, 420").rows, top.rows);
    EXPECT_EQ(screenRect(toolbar).bottom, screenRect(frame().mdiClient()).top);
    showsAFreshPaint(toolbar, "top, 420");
    placeFrame(0, 0, 1280, 700);
    EXPECT_LT(everyButtonShown("top, 1280").rows, top.rows);

    // Along the left of a short frame: columns, between the top of the
    // client area and the status bar, the documents right of them.
    area = dockArea();
    drag(toolbar, gripperCentre(), POINT{area.left + 4, (area.top + area.bottom) / 2});
    ASSERT_EQ(DockSide::left, bar().dockSide());
    placeFrame(0, 0, 900, 420);
    const Grid left = everyButtonShown("left, 420");
    EXPECT_GT(left.columns, 1);
    area = dockArea();
    r = screenRect(toolbar);
    EXPECT_EQ(area.left, r.left);
    EXPECT_EQ(area.top, r.top);
    EXPECT_EQ(screenRect(status).top, r.bottom);
    EXPECT_EQ(r.right, screenRect(frame().mdiClient()).left);
    showsAFreshPaint(toolbar, "left, 420");
    shellgui::saveScreenshot(app->mainWindow, "shell_toolbar_left_short");
    placeFrame(0, 0, 900, 1000);
    EXPECT_LT(everyButtonShown("left, 1000").columns, left.columns);
}

TEST_F(ShellToolBar, FloatingBarKeepsToTheScreenAndRepaintsWholeAfterEveryRelayout)
{
    ASSERT_TRUE(start("-n"));
    placeFrame(100, 100, 800, 600);
    HWND toolbar = bar().hwnd();
    const RECT work = workArea();
    const int buttonWidth = LOWORD(SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0));
    const RECT area = dockArea();
    const POINT middle = {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
    drag(toolbar, gripperCentre(), middle);
    HWND floating = bar().floatingWindow();
    ASSERT_NE(nullptr, floating);
    auto sizeToWidth = [&](int width) {
        RECT sized = screenRect(floating);
        sized.right = sized.left + width;
        SendMessageA(floating, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&sized));
        SetWindowPos(floating, nullptr, sized.left, sized.top, sized.right - sized.left,
                     sized.bottom - sized.top, SWP_NOZORDER | SWP_NOACTIVATE);
        pump();
    };

    // At the top of the screen, sized to one column: the buttons moved to
    // their new places and nowhere else.
    SetWindowPos(floating, nullptr, work.left + 20, work.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pump();
    showsAFreshPaint(toolbar, "floating");
    sizeToWidth(buttonWidth + buttonWidth / 2);
    EXPECT_EQ(1, everyButtonShown("one column").columns);
    showsAFreshPaint(toolbar, "one column");
    shellgui::saveScreenshot(floating, "shell_toolbar_floating_column");

    // Lower down, one column would run past the bottom of the screen: it
    // takes more columns instead.
    const int columnHeight = screenRect(floating).bottom - screenRect(floating).top;
    SetWindowPos(floating, nullptr, work.left + 20, work.bottom - columnHeight * 2 / 3, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    sizeToWidth(buttonWidth + buttonWidth / 2 + 1);
    EXPECT_GT(everyButtonShown("low column").columns, 1);
    EXPECT_TRUE(inside(screenRect(floating), work));
    showsAFreshPaint(toolbar, "low column");

    // Dropped by its caption at the screen's bottom right corner, it
    // floats whole within the screen.
    const RECT caption = screenRect(floating);
    drag(floating, POINT{caption.left + 10, caption.top + GetSystemMetrics(SM_CYSMCAPTION) / 2},
         POINT{work.right - 3, work.bottom - 3});
    ASSERT_EQ(floating, bar().floatingWindow());
    EXPECT_TRUE(inside(screenRect(floating), work));
    everyButtonShown("dropped in the corner");
}

TEST_F(ShellToolBar, CentredImageIsPaintedWholeAfterTheBarsOrTheFrameMoveIt)
{
    openWith(writePicture("centred.png", 90, 60));
    ASSERT_TRUE(start("-n"));
    command(kIdFileOpen);
    ASSERT_EQ(1, documentCount());
    HWND view = activeView()->hwnd();
    HWND toolbar = bar().hwnd();
    showsAFreshPaint(view, "opened");
    RECT area = dockArea();
    drag(toolbar, gripperCentre(), POINT{area.left + 4, (area.top + area.bottom) / 2});
    ASSERT_EQ(DockSide::left, bar().dockSide());
    showsAFreshPaint(view, "docked left");
    const POINT middle = {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
    drag(toolbar, gripperCentre(), middle);
    ASSERT_EQ(DockSide::floating, bar().dockSide());
    showsAFreshPaint(view, "floated");
    HWND floating = bar().floatingWindow();
    const RECT caption = screenRect(floating);
    drag(floating, POINT{caption.left + 10, caption.top + GetSystemMetrics(SM_CYSMCAPTION) / 2},
         POINT{(area.left + area.right) / 2, area.top + 2});
    ASSERT_EQ(DockSide::top, bar().dockSide());
    showsAFreshPaint(view, "docked at the top");
    const RECT outer = screenRect(app->mainWindow);
    placeFrame(outer.left, outer.top, (outer.right - outer.left) * 3 / 4,
               (outer.bottom - outer.top) * 3 / 4);
    showsAFreshPaint(view, "frame made smaller");
}

} // namespace
