#include "framework/Window.h"

#include <map>

#include <windowsx.h>

#include "framework/Application.h"
#include "framework/FrameworkErrors.h"

namespace {

// One map per module: the framework is a static library linked into each.
std::map<HWND, CWnd*>& windowMap()
{
    static std::map<HWND, CWnd*> map;
    return map;
}

// The object whose window is being created by CWnd::create, bound at the
// window's first message.
CWnd* creatingWindow = nullptr;

POINT pointOf(LPARAM lParam)
{
    POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return p;
}

bool isChildNotification(UINT message)
{
    switch (message) {
    case WM_COMMAND: case WM_NOTIFY: case WM_HSCROLL: case WM_VSCROLL:
    case WM_DRAWITEM: case WM_MEASUREITEM: case WM_DELETEITEM: case WM_COMPAREITEM:
    case WM_VKEYTOITEM: case WM_CHARTOITEM: case WM_PARENTNOTIFY:
        return true;
    default:
        return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
    }
}

// The module this code is linked into. Each module (the shell, a plug-in DLL)
// registers the class under its own instance: a class registered under the
// executable's handle would send a DLL's windows to the executable's copy of
// the framework, which does not know them.
HINSTANCE thisModule()
{
    static const char marker = 0;
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       &marker, &module);
    return module ? module : GetModuleHandleA(nullptr);
}

} // namespace

const char* frameworkWindowClass()
{
    static const char* name = [] {
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &CWnd::standardProc;
        wc.hInstance = thisModule();
        wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
        wc.lpszClassName = "QxFrameworkWindow";
        RegisterClassExA(&wc);
        return "QxFrameworkWindow";
    }();
    return name;
}

CWnd::CWnd() : hwnd_(nullptr), previousProc_(nullptr), ownsWindow_(false)
{
}

CWnd::~CWnd()
{
    if (!hwnd_)
        return;
    if (ownsWindow_) {
        HWND window = hwnd_;
        // The object is going: nothing may reach it from the destruction.
        unsubclassWindow();
        DestroyWindow(window);
    } else if (previousProc_) {
        unsubclassWindow();
    } else {
        unbind();
    }
}

CWnd* CWnd::fromHandle(HWND window)
{
    auto found = windowMap().find(window);
    return found == windowMap().end() ? nullptr : found->second;
}

void CWnd::bind(HWND window)
{
    hwnd_ = window;
    windowMap()[window] = this;
}

void CWnd::unbind()
{
    if (hwnd_) {
        auto found = windowMap().find(hwnd_);
        if (found != windowMap().end() && found->second == this)
            windowMap().erase(found);
    }
    hwnd_ = nullptr;
}

bool CWnd::create(DWORD exStyle, const char* className, const char* title, DWORD style,
                  const RECT& rect, HWND parent, UINT id)
{
    if (hwnd_)
        return false;
    const bool own = className == nullptr;
    HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(UINT_PTR(id)) : nullptr;
    CWnd* outer = creatingWindow;
    if (own)
        creatingWindow = this;
    HWND window = CreateWindowExA(exStyle, own ? frameworkWindowClass() : className,
                                  title ? title : "", style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent, menu,
                                  own ? thisModule() : GetModuleHandleA(nullptr), nullptr);
    creatingWindow = outer;
    if (!window)
        return false;
    if (own) {
        previousProc_ = &DefWindowProcA;
    } else if (!subclassWindow(window)) {
        DestroyWindow(window);
        return false;
    }
    ownsWindow_ = true;
    return true;
}

bool CWnd::subclassWindow(HWND window)
{
    if (hwnd_ || !window || !IsWindow(window) || fromHandle(window))
        return false;
    bind(window);
    previousProc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::standardProc)));
    if (!previousProc_) {
        unbind();
        return false;
    }
    return true;
}

bool CWnd::subclassDlgItem(int id, HWND parent)
{
    return subclassWindow(GetDlgItem(parent, id));
}

HWND CWnd::unsubclassWindow()
{
    HWND window = hwnd_;
    if (window && previousProc_ && previousProc_ != &DefWindowProcA && IsWindow(window))
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
    previousProc_ = nullptr;
    ownsWindow_ = false;
    unbind();
    return window;
}

LRESULT CWnd::standardProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* object = fromHandle(window);
    if (!object) {
        if (!creatingWindow)
            return DefWindowProcA(window, message, wParam, lParam);
        object = creatingWindow;
        creatingWindow = nullptr;
        object->bind(window);
        object->previousProc_ = &DefWindowProcA;
    }
    LRESULT result = 0;
    try {
        result = object->windowProc(message, wParam, lParam);
    } catch (...) {
        reportCurrentException("window procedure");
        result = 0;
    }
    // The handle may be reused once this message returns.
    if (message == WM_NCDESTROY && fromHandle(window) == object) {
        object->unbind();
        object->previousProc_ = nullptr;
        object->ownsWindow_ = false;
        try {
            object->postNcDestroy();
        } catch (...) {
            reportCurrentException("window destruction");
        }
    }
    return result;
}

LRESULT CWnd::windowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (onMessage(message, wParam, lParam, result))
        return result;
    return defaultProc(message, wParam, lParam);
}

LRESULT CWnd::defaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (previousProc_)
        return CallWindowProcA(previousProc_, hwnd_, message, wParam, lParam);
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

HWND CWnd::notificationSender(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
        return lParam ? reinterpret_cast<NMHDR*>(lParam)->hwndFrom : nullptr;
    case WM_DRAWITEM:
        return lParam ? reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_DELETEITEM:
        return lParam ? reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_COMPAREITEM:
        return lParam ? reinterpret_cast<COMPAREITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_PARENTNOTIFY: {
        const UINT event = LOWORD(wParam);
        return event == WM_CREATE || event == WM_DESTROY ? reinterpret_cast<HWND>(lParam)
                                                         : nullptr;
    }
    default:
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
            return reinterpret_cast<HWND>(lParam);
        return nullptr;
    }
}

bool CWnd::reflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    HWND sender = notificationSender(message, wParam, lParam);
    CWnd* child = sender ? fromHandle(sender) : nullptr;
    return child && child->onReflected(message + kReflectOffset, wParam, lParam, result);
}

bool CWnd::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (isChildNotification(message) && reflectToChild(message, wParam, lParam, result))
        return true;
    switch (message) {
    case WM_COMMAND:
        return onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY: {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        return header && onNotify(UINT(header->idFrom), header, result);
    }
    case WM_TIMER:
        return onTimer(wParam);
    case WM_PAINT:
        return onPaint();
    case WM_ERASEBKGND:
        if (onEraseBackground(reinterpret_cast<HDC>(wParam))) {
            result = 1;
            return true;
        }
        return false;
    case WM_LBUTTONDOWN:
        return onLButtonDown(UINT(wParam), pointOf(lParam));
    case WM_LBUTTONUP:
        return onLButtonUp(UINT(wParam), pointOf(lParam));
    case WM_LBUTTONDBLCLK:
        return onLButtonDoubleClick(UINT(wParam), pointOf(lParam));
    case WM_MOUSEMOVE:
        return onMouseMove(UINT(wParam), pointOf(lParam));
    case WM_MOUSEWHEEL:
        return onMouseWheel(LOWORD(wParam), GET_WHEEL_DELTA_WPARAM(wParam), pointOf(lParam));
    case WM_SETCURSOR:
        if (onSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam))) {
            result = TRUE;
            return true;
        }
        return false;
    case WM_CONTEXTMENU:
        return onContextMenu(reinterpret_cast<HWND>(wParam), pointOf(lParam));
    case WM_DESTROY:
        onDestroy();
        return false;
    default:
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
            HBRUSH brush = onCtlColor(reinterpret_cast<HDC>(wParam),
                                      reinterpret_cast<HWND>(lParam), message);
            if (brush) {
                result = reinterpret_cast<LRESULT>(brush);
                return true;
            }
        }
        return false;
    }
}

bool CWnd::onReflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
bool CWnd::onCommand(UINT, UINT, HWND) { return false; }
bool CWnd::onNotify(UINT, NMHDR*, LRESULT&) { return false; }
bool CWnd::onTimer(UINT_PTR) { return false; }
bool CWnd::onPaint() { return false; }
bool CWnd::onEraseBackground(HDC) { return false; }
bool CWnd::onLButtonDown(UINT, POINT) { return false; }
bool CWnd::onLButtonUp(UINT, POINT) { return false; }
bool CWnd::onLButtonDoubleClick(UINT, POINT) { return false; }
bool CWnd::onMouseMove(UINT, POINT) { return false; }
bool CWnd::onMouseWheel(UINT, int, POINT) { return false; }
bool CWnd::onSetCursor(HWND, UINT, UINT) { return false; }
bool CWnd::onContextMenu(HWND, POINT) { return false; }
HBRUSH CWnd::onCtlColor(HDC, HWND, UINT) { return nullptr; }
void CWnd::onDestroy() {}
void CWnd::postNcDestroy() {}

LRESULT CWnd::send(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return SendMessageA(hwnd_, message, wParam, lParam);
}

HWND CWnd::item(int id) const
{
    return hwnd_ ? GetDlgItem(hwnd_, id) : nullptr;
}

LRESULT CWnd::sendItem(int id, UINT message, WPARAM wParam, LPARAM lParam) const
{
    return SendDlgItemMessageA(hwnd_, id, message, wParam, lParam);
}

namespace {

String windowTextOf(HWND window)
{
    if (!window)
        return String();
    const int length = GetWindowTextLengthA(window);
    if (length <= 0)
        return String();
    String text(size_t(length) + 1, '\0');
    const int got = GetWindowTextA(window, &text[0], length + 1);
    text.resize(got > 0 ? size_t(got) : 0);
    return text;
}

} // namespace

String CWnd::text() const
{
    return windowTextOf(hwnd_);
}

void CWnd::setText(const String& text)
{
    SetWindowTextA(hwnd_, text.c_str());
}

String CWnd::itemText(int id) const
{
    return windowTextOf(item(id));
}

void CWnd::setItemText(int id, const String& text)
{
    SetDlgItemTextA(hwnd_, id, text.c_str());
}

void CWnd::enableItem(int id, bool enable)
{
    if (HWND window = item(id))
        EnableWindow(window, enable);
}

void CWnd::showItem(int id, bool show)
{
    if (HWND window = item(id))
        ShowWindow(window, show ? SW_SHOW : SW_HIDE);
}

void CWnd::invalidate(bool erase)
{
    InvalidateRect(hwnd_, nullptr, erase);
}

UINT_PTR CWnd::setTimer(UINT_PTR id, UINT milliseconds)
{
    return SetTimer(hwnd_, id, milliseconds, nullptr);
}

void CWnd::killTimer(UINT_PTR id)
{
    KillTimer(hwnd_, id);
}

RECT CWnd::clientRect() const
{
    RECT r = {0, 0, 0, 0};
    GetClientRect(hwnd_, &r);
    return r;
}

RECT CWnd::windowRect() const
{
    RECT r = {0, 0, 0, 0};
    GetWindowRect(hwnd_, &r);
    return r;
}

void CWnd::centerWindow(HWND over)
{
    if (!hwnd_)
        return;
    if (!over)
        over = GetWindow(hwnd_, GW_OWNER);
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT target = area;
    if (over && IsWindow(over) && IsWindowVisible(over) && !IsIconic(over))
        GetWindowRect(over, &target);
    const RECT me = windowRect();
    const int width = me.right - me.left, height = me.bottom - me.top;
    int x = (target.left + target.right - width) / 2;
    int y = (target.top + target.bottom - height) / 2;
    // Keep the whole window on the work area where it fits.
    if (x + width > area.right) x = area.right - width;
    if (y + height > area.bottom) y = area.bottom - height;
    if (x < area.left) x = area.left;
    if (y < area.top) y = area.top;
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
