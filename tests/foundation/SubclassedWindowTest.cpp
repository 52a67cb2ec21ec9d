#include "foundation/PropertyBag.h"
#include "foundation/SubclassedWindow.h"
#include "foundation/WindowUtilities.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

const UINT kAskOriginal = WM_APP + 1;
const UINT kAskObject = WM_APP + 2;
const UINT kThrow = WM_APP + 3;
int originalCalls = 0;

LRESULT CALLBACK originalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kAskOriginal) {
        ++originalCalls;
        return 1234;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

const char* testClass()
{
    static bool registered = false;
    if (!registered) {
        EXPECT_EQ(0, registerWindowClass("QxSubclassTest", CS_HREDRAW, IDI_APPLICATION, originalProc));
        registered = true;
    }
    return "QxSubclassTest";
}

HWND makeWindow(HWND parent = nullptr)
{
    const DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW;
    return CreateWindowExA(0, testClass(), "caption", style, 5, 6, 120, 80, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// Handles one message itself, throws on another, passes the rest on.
class Probe : public SubclassedWindow
{
public:
    using SubclassedWindow::SubclassedWindow;
    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        ++seen;
        if (message == kAskObject) {
            result = 77;
            return true;
        }
        if (message == kThrow)
            throw std::runtime_error("handler failure");
        if (message == WM_NCDESTROY)
            sawNcDestroy = true;
        return callPrevious(message, wParam, lParam, result);
    }
    int seen = 0;
    bool sawNcDestroy = false;
};

WNDPROC procOf(HWND window)
{
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
}

} // namespace

TEST(SubclassedWindow, RoutesMessagesThroughTheObjectFirst)
{
    HWND window = makeWindow();
    ASSERT_TRUE(window);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0x5150);
    {
        Probe probe(window, false, true);
        EXPECT_TRUE(probe.isSubclassed());
        EXPECT_TRUE(probe.isValid());
        EXPECT_EQ(&SubclassedWindow::windowProc, procOf(window));
        originalCalls = 0;
        EXPECT_EQ(1234, SendMessageA(window, kAskOriginal, 0, 0));
        EXPECT_EQ(1, originalCalls);
        EXPECT_EQ(77, SendMessageA(window, kAskObject, 0, 0));
        // An exception in a handler must not reach the system.
        EXPECT_EQ(0, SendMessageA(window, kThrow, 0, 0));
        EXPECT_GT(probe.seen, 2);
    }
    // Gone without owning the window: procedure and user data are back.
    EXPECT_EQ(&originalProc, procOf(window));
    EXPECT_EQ(0x5150, GetWindowLongPtrA(window, GWLP_USERDATA));
    EXPECT_EQ(1234, SendMessageA(window, kAskOriginal, 0, 0));
    EXPECT_TRUE(IsWindow(window));
    DestroyWindow(window);
}

TEST(SubclassedWindow, DefaultHandlerNeverReachesTheEarlierProcedure)
{
    HWND window = makeWindow();
    SubclassedWindow plain(window, true, true);
    originalCalls = 0;
    EXPECT_EQ(0, SendMessageA(window, kAskOriginal, 0, 0));
    EXPECT_EQ(0, originalCalls);
    EXPECT_NE(0, plain.unsubclass());
    EXPECT_FALSE(plain.isSubclassed());
    // User data that was 0 is restored to 0, not left pointing at the object.
    EXPECT_EQ(0, GetWindowLongPtrA(window, GWLP_USERDATA));
    EXPECT_EQ(1234, SendMessageA(window, kAskOriginal, 0, 0));
    plain.destroy();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, plain.window);
}

TEST(SubclassedWindow, OwnershipDetachAndDestruction)
{
    HWND owned = makeWindow();
    {
        SubclassedWindow holder(owned, true, false);
        EXPECT_FALSE(holder.isSubclassed());
    }
    EXPECT_FALSE(IsWindow(owned));

    HWND kept = makeWindow();
    SubclassedWindow holder(kept, true, true);
    holder.detach();
    EXPECT_EQ(nullptr, holder.window);
    EXPECT_EQ(0, holder.ownsWindow);
    EXPECT_TRUE(IsWindow(kept));
    EXPECT_EQ(&originalProc, procOf(kept));

    // attach lets go of the current window (destroying an owned one).
    HWND first = makeWindow();
    HWND second = makeWindow();
    holder.attach(first, true, true);
    holder.attach(second, false, true);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(second, holder.window);
    EXPECT_TRUE(holder.isSubclassed());
    holder.destroy();
    EXPECT_TRUE(IsWindow(second));
    EXPECT_EQ(&originalProc, procOf(second));
    DestroyWindow(second);
    DestroyWindow(kept);
}

TEST(SubclassedWindow, DestroyedWindowUnbindsTheObject)
{
    HWND window = makeWindow();
    Probe probe(window, false, true);
    DestroyWindow(window);
    EXPECT_TRUE(probe.sawNcDestroy);
    EXPECT_EQ(nullptr, probe.window);
    EXPECT_FALSE(probe.isSubclassed());
    // Nothing left to restore or destroy when the object goes.
}

TEST(SubclassedWindow, ForeignUserDataIsNotTrusted)
{
    HWND window = makeWindow();
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassedWindow::windowProc));
    struct NotOurs { void* vtable; DWORD signature; } fake = {nullptr, 0x99225577u};
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&fake));
    EXPECT_EQ(0, SendMessageA(window, kAskObject, 0, 0));
    SetWindowLongPtrA(window, GWLP_USERDATA, 0x12345);
    EXPECT_EQ(0, SendMessageA(window, kAskObject, 0, 0));
    DestroyWindow(window);

    // A second object on an already subclassed window would loop forever
    // through callPrevious: it is refused and the first keeps the window.
    HWND shared = makeWindow();
    Probe first(shared, true, true);
    Probe second(shared, false, true);
    EXPECT_FALSE(second.isSubclassed());
    EXPECT_EQ(77, SendMessageA(shared, kAskObject, 0, 0));
    EXPECT_EQ(1234, SendMessageA(shared, kAskOriginal, 0, 0));
    EXPECT_EQ(0, second.seen);
}

TEST(SubclassedWindow, CreateTextAndClassName)
{
    SubclassedWindow window;
    EXPECT_FALSE(window.create(0, "QxNoSuchClass", "x", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr));
    EXPECT_EQ(nullptr, window.window);
    ASSERT_TRUE(window.create(0, testClass(), "Hello there", WS_OVERLAPPED, 0, 0, 50, 40, nullptr, nullptr, nullptr));
    EXPECT_TRUE(window.ownsWindow);
    EXPECT_FALSE(window.isSubclassed());
    EXPECT_EQ("Hello there", window.windowText(64));
    EXPECT_EQ("Hell", window.windowText(5));
    EXPECT_EQ("", window.windowText(0));
    EXPECT_EQ("QxSubclassTest", windowClassName(window.window));
    EXPECT_EQ(1, registerWindowClass("QxSubclassTest", 0, nullptr, originalProc));
    HWND handle = window.window;
    window.destroy();
    EXPECT_FALSE(IsWindow(handle));
}

TEST(SubclassedWindow, GeometryRelativeToTheParent)
{
    HWND parent = makeWindow();
    SubclassedWindow child(makeWindow(parent), true, true);
    ASSERT_TRUE(child.setBounds(10, 20, 30, 40));
    RECT r = child.rectInParent();
    EXPECT_EQ(10, r.left);
    EXPECT_EQ(20, r.top);
    EXPECT_EQ(40, r.right);
    EXPECT_EQ(60, r.bottom);
    ASSERT_TRUE(child.moveBy(5, -5));
    ASSERT_TRUE(child.grow(1, 2, 3, 4));
    r = child.rectInParent();
    EXPECT_EQ(14, r.left);
    EXPECT_EQ(13, r.top);
    EXPECT_EQ(33, r.right - r.left);
    EXPECT_EQ(44, r.bottom - r.top);
    ASSERT_TRUE(child.moveTo(0, 1));
    ASSERT_TRUE(child.resize(8, 9));
    const RECT set = {2, 3, 12, 23};
    ASSERT_TRUE(child.setBounds(set));
    r = child.rectInParent();
    EXPECT_EQ(2, r.left);
    EXPECT_EQ(23, r.bottom);

    RECT screen;
    GetWindowRect(child.window, &screen);
    RECT client = screen;
    child.screenToClient(client);
    EXPECT_EQ(0, client.left);
    EXPECT_EQ(0, client.top);
    EXPECT_TRUE(child.containsScreenPoint(screen.left + 1, screen.top + 1, false));
    EXPECT_FALSE(child.containsScreenPoint(screen.right + 1, screen.top + 1, false));
    child.isCursorOver(true);
    child.destroy();
    DestroyWindow(parent);
}

TEST(SubclassedWindow, PlacementTextRoundTrips)
{
    HWND parent = makeWindow();
    SubclassedWindow child(makeWindow(parent), true, false);
    ASSERT_TRUE(child.setBounds(12, 40, 75, 23));
    PropertyBag bag;
    child.savePlacement(bag, "button.pos");
    EXPECT_EQ("12,40,75,23", bag.getString("button.pos", ""));
    child.saveSize(bag, "button.size");
    EXPECT_EQ("75,23", bag.getString("button.size", ""));

    ASSERT_TRUE(child.setBounds(1, 1, 5, 5));
    ASSERT_TRUE(child.loadPlacement(bag, "button.pos"));
    RECT r = child.rectInParent();
    EXPECT_EQ(12, r.left);
    EXPECT_EQ(40, r.top);
    EXPECT_EQ(87, r.right);
    EXPECT_EQ(63, r.bottom);

    for (const char* bad : {"10,20,0,30", "10,20", "10,20,30,-1", "", "a,b,c,d"}) {
        bag.setString("bad", bad);
        EXPECT_FALSE(child.loadPlacement(bag, "bad")) << bad;
        r = child.rectInParent();
        EXPECT_EQ(12, r.left) << bad;
        EXPECT_EQ(75, r.right - r.left) << bad;
    }
    EXPECT_FALSE(child.loadPlacement(bag, "missing"));
    bag.setString("spaced", "10, 20, 30, 40");
    ASSERT_TRUE(child.loadPlacement(bag, "spaced"));
    r = child.rectInParent();
    EXPECT_EQ(10, r.left);
    EXPECT_EQ(20, r.top);
    EXPECT_EQ(30, r.right - r.left);
    EXPECT_EQ(40, r.bottom - r.top);

    bag.setString("size", "50 ,60");
    EXPECT_TRUE(child.loadSize(bag, "size"));
    r = child.rectInParent();
    EXPECT_EQ(10, r.left);
    EXPECT_EQ(50, r.right - r.left);
    EXPECT_EQ(60, r.bottom - r.top);
    bag.setString("size", "50");
    EXPECT_FALSE(child.loadSize(bag, "size"));
    bag.setString("size", "0,60");
    EXPECT_FALSE(child.loadSize(bag, "size"));
    child.destroy();
    DestroyWindow(parent);
}

TEST(SubclassedWindow, LayeredTransparency)
{
    HWND window = makeWindow();
    EXPECT_FALSE(setLayeredAlpha(window, 0, -1));
    EXPECT_NE(0, GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_TRUE(setLayeredAlpha(window, 128, -1));
    EXPECT_TRUE(setLayeredAlpha(window, 0, RGB(255, 0, 255)));
    DestroyWindow(window);
}
