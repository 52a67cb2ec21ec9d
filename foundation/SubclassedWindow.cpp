#include "foundation/SubclassedWindow.h"

#include "foundation/PropertyReader.h"
#include "foundation/PropertyWriter.h"

#include <set>
#include <vector>

namespace {

// Live objects. The window procedure only dereferences a user-data value that
// is one of these, so a foreign value left in GWLP_USERDATA is never read.
std::set<const SubclassedWindow*>& liveObjects()
{
    static std::set<const SubclassedWindow*>* objects = new std::set<const SubclassedWindow*>;
    return *objects;
}

SubclassedWindow* objectOf(HWND hwnd)
{
    const LONG_PTR data = GetWindowLongPtrA(hwnd, GWLP_USERDATA);
    if (data == 0)
        return nullptr;
    SubclassedWindow* object = reinterpret_cast<SubclassedWindow*>(data);
    if (liveObjects().count(object) == 0 || !object->isValid() || object->window != hwnd)
        return nullptr;
    return object;
}

bool isChild(HWND window)
{
    return (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0;
}

} // namespace

SubclassedWindow::SubclassedWindow()
    : window(nullptr), ownsWindow(0), previousProc(nullptr), previousUserData(0)
{
    liveObjects().insert(this);
}

SubclassedWindow::SubclassedWindow(HWND window_, bool ownsWindow_, bool subclassNow)
    : window(window_), ownsWindow(ownsWindow_ ? 1 : 0), previousProc(nullptr), previousUserData(0)
{
    liveObjects().insert(this);
    if (subclassNow)
        subclass();
}

SubclassedWindow::~SubclassedWindow()
{
    destroy();
    liveObjects().erase(this);
}

bool SubclassedWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = DefWindowProcA(window, message, wParam, lParam);
    return true;
}

void SubclassedWindow::tick(DWORD)
{
}

LRESULT CALLBACK SubclassedWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    SubclassedWindow* object = objectOf(hwnd);
    if (!object)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    // No exception may unwind into the system's message dispatch: the process
    // would end.
    try {
        if (!object->handleMessage(message, wParam, lParam, result)) {
            if (object->previousProc)
                result = CallWindowProcA(object->previousProc, object->window, message, wParam, lParam);
            else
                result = DefWindowProcA(hwnd, message, wParam, lParam);
        }
    } catch (...) {
        result = 0;
    }
    // The handle dies with this message and may be reused: let go of it now
    // (unless the handler already deleted or rebound the object).
    if (message == WM_NCDESTROY && objectOf(hwnd) == object)
        object->forgetAfterDestroy();
    return result;
}

void SubclassedWindow::forgetAfterDestroy()
{
    unsubclass();
    window = nullptr;
    ownsWindow = 0;
}

bool SubclassedWindow::callPrevious(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (!previousProc)
        return false;
    result = CallWindowProcA(previousProc, window, message, wParam, lParam);
    return true;
}

void SubclassedWindow::subclass()
{
    unsubclass();
    if (!window)
        return;
    // A window already routed through windowProc would make callPrevious call
    // windowProc again, forever.
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)) == &SubclassedWindow::windowProc)
        return;
    const LONG_PTR oldData = SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    const LONG_PTR oldProc =
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassedWindow::windowProc));
    if (oldProc == 0) {
        SetWindowLongPtrA(window, GWLP_USERDATA, oldData);
        return;
    }
    previousProc = reinterpret_cast<WNDPROC>(oldProc);
    previousUserData = oldData;
}

LONG_PTR SubclassedWindow::unsubclass()
{
    LONG_PTR result = 0;
    if (previousProc && window) {
        result = SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc));
        // Restored even when it was 0, so no pointer to this object stays behind.
        result = SetWindowLongPtrA(window, GWLP_USERDATA, previousUserData);
    }
    previousProc = nullptr;
    previousUserData = 0;
    return result;
}

void SubclassedWindow::detach()
{
    unsubclass();
    window = nullptr;
    ownsWindow = 0;
}

void SubclassedWindow::destroy()
{
    if (ownsWindow && window)
        DestroyWindow(window);
    detach();
}

void SubclassedWindow::attach(HWND window_, bool ownsWindow_, bool subclassNow)
{
    destroy();
    window = window_;
    ownsWindow = ownsWindow_ ? 1 : 0;
    if (subclassNow)
        subclass();
}

bool SubclassedWindow::create(DWORD exStyle, const char* className, const char* title, DWORD style,
                              int x, int y, int width, int height, HWND parent, HMENU menu, void* parameter)
{
    destroy();
    HWND created = CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu,
                                   GetModuleHandleA(nullptr), parameter);
    if (!created)
        return false;
    window = created;
    ownsWindow = 1;
    return true;
}

RECT SubclassedWindow::rectInParent() const
{
    RECT r = {0, 0, 0, 0};
    if (!window || !GetWindowRect(window, &r))
        return r;
    HWND parent = isChild(window) ? GetParent(window) : nullptr;
    if (parent) {
        POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
        ScreenToClient(parent, &corners[0]);
        ScreenToClient(parent, &corners[1]);
        r.left = corners[0].x;
        r.top = corners[0].y;
        r.right = corners[1].x;
        r.bottom = corners[1].y;
    }
    return r;
}

void SubclassedWindow::screenToClient(RECT& rect) const
{
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    ScreenToClient(window, &corners[0]);
    ScreenToClient(window, &corners[1]);
    rect.left = corners[0].x;
    rect.top = corners[0].y;
    rect.right = corners[1].x;
    rect.bottom = corners[1].y;
}

bool SubclassedWindow::containsScreenPoint(int x, int y, bool topmostOnly) const
{
    RECT client;
    if (!window || !GetClientRect(window, &client))
        return false;
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    POINT p = {x, y};
    if (!PtInRect(&client, p))
        return false;
    return !topmostOnly || WindowFromPoint(p) == window;
}

bool SubclassedWindow::isCursorOver(bool topmostOnly) const
{
    POINT p;
    if (!GetCursorPos(&p))
        return false;
    return containsScreenPoint(p.x, p.y, topmostOnly);
}

bool SubclassedWindow::resize(int width, int height)
{
    return SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER) != 0;
}

bool SubclassedWindow::moveTo(int x, int y)
{
    return SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER) != 0;
}

bool SubclassedWindow::moveBy(int dx, int dy)
{
    const RECT r = rectInParent();
    return SetWindowPos(window, nullptr, r.left + dx, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER) != 0;
}

bool SubclassedWindow::grow(int a, int b, int c, int d)
{
    const RECT r = rectInParent();
    return SetWindowPos(window, nullptr, r.left - a, r.top - b, (r.right - r.left) + c,
                        (r.bottom - r.top) + d, SWP_NOZORDER) != 0;
}

bool SubclassedWindow::setBounds(int x, int y, int width, int height)
{
    return SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER) != 0;
}

bool SubclassedWindow::setBounds(const RECT& rect)
{
    return setBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

String SubclassedWindow::windowText(int maxCount) const
{
    if (maxCount < 1)
        return String();
    std::vector<char> buffer(maxCount, '\0');
    int length = GetWindowTextA(window, buffer.data(), maxCount);
    if (length < 0)
        length = 0;
    if (length > maxCount - 1)
        length = maxCount - 1;
    return String(std::string(buffer.data(), length));
}

void SubclassedWindow::savePlacement(PropertyWriter& writer, const String& key) const
{
    const RECT r = rectInParent();
    const int values[4] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
    writer.setIntArray(key, 4, values, ',');
}

bool SubclassedWindow::loadPlacement(const PropertyReader& reader, const String& key)
{
    int values[4];
    if (reader.getIntArray(key, 4, values, ',', 0) < 4 || values[2] <= 0 || values[3] <= 0)
        return false;
    return SetWindowPos(window, nullptr, values[0], values[1], values[2], values[3], SWP_NOZORDER) != 0;
}

void SubclassedWindow::saveSize(PropertyWriter& writer, const String& key) const
{
    RECT r = {0, 0, 0, 0};
    GetWindowRect(window, &r);
    const int values[2] = {r.right - r.left, r.bottom - r.top};
    writer.setIntArray(key, 2, values, ',');
}

bool SubclassedWindow::loadSize(const PropertyReader& reader, const String& key)
{
    int values[2];
    if (reader.getIntArray(key, 2, values, ',', 0) < 2 || values[0] <= 0 || values[1] <= 0)
        return false;
    SetWindowPos(window, nullptr, 0, 0, values[0], values[1], SWP_NOMOVE | SWP_NOZORDER);
    return true;
}
