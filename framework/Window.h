#pragma once

#include <windows.h>
#include <commctrl.h>

#include "foundation/String.h"

// Messages that a parent hands back to the child control that sent them are
// offered to the child's wrapper as the message plus this offset.
const UINT kReflectOffset = 0xBC00;

// A C++ object bound to a window. Each module keeps its own map from window
// handles to objects. Messages reach windowProc through one shared procedure
// that catches every exception (none may unwind through user32 with this
// toolchain), unpacked once into the typed handlers below; a handler returns
// true when it handled the message.
class CWnd
{
public:
    CWnd();
    // Releases the window: restores a subclassed one, destroys one it created.
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND hwnd() const { return hwnd_; }
    bool isWindow() const { return hwnd_ && IsWindow(hwnd_); }
    // The object bound to a window of this module, or null.
    static CWnd* fromHandle(HWND window);

    // Creates a window of the framework's own class (className null) or of
    // any registered class (which is then subclassed).
    bool create(DWORD exStyle, const char* className, const char* title, DWORD style,
                const RECT& rect, HWND parent, UINT id);
    // Routes an existing window's messages through this object.
    bool subclassWindow(HWND window);
    bool subclassDlgItem(int id, HWND parent);
    // Restores the previous procedure and forgets the window.
    HWND unsubclassWindow();

    // Plain helpers over the bound window and its children.
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    HWND item(int id) const;
    LRESULT sendItem(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    String text() const;
    void setText(const String& text);
    String itemText(int id) const;
    void setItemText(int id, const String& text);
    void enableItem(int id, bool enable);
    void showItem(int id, bool show);
    void invalidate(bool erase = true);
    UINT_PTR setTimer(UINT_PTR id, UINT milliseconds);
    void killTimer(UINT_PTR id);
    RECT clientRect() const;
    RECT windowRect() const;
    // Centres over `over` (the owner when null, else the work area).
    void centerWindow(HWND over = nullptr);

    // Everything the window receives. The base runs onMessage and hands what
    // it declines to defaultProc.
    virtual LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The previous procedure of a subclassed window, else DefWindowProc.
    LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Child notifications are first offered back to the child's own wrapper
    // (reflectToChild), then unpacked into the typed handlers.
    virtual bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // A notification this window sent to its parent, handed back as the
    // message plus kReflectOffset.
    virtual bool onReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    virtual bool onCommand(UINT id, UINT code, HWND control);
    virtual bool onNotify(UINT id, NMHDR* header, LRESULT& result);
    virtual bool onTimer(UINT_PTR id);
    virtual bool onPaint();
    virtual bool onEraseBackground(HDC dc);
    virtual bool onLButtonDown(UINT flags, POINT point);
    virtual bool onLButtonUp(UINT flags, POINT point);
    virtual bool onLButtonDoubleClick(UINT flags, POINT point);
    virtual bool onMouseMove(UINT flags, POINT point);
    virtual bool onMouseWheel(UINT flags, int delta, POINT screenPoint);
    virtual bool onSetCursor(HWND window, UINT hitTest, UINT mouseMessage);
    virtual bool onContextMenu(HWND window, POINT screenPoint);
    // A brush for the child's colours, or null when not handled.
    virtual HBRUSH onCtlColor(HDC dc, HWND child, UINT message);
    virtual void onDestroy();
    // Last call for the window; the object is already unbound from it.
    virtual void postNcDestroy();

    // Offers a child notification to the wrapper of the child that sent it.
    static bool reflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The window that sent a child notification, or null.
    static HWND notificationSender(UINT message, WPARAM wParam, LPARAM lParam);

    static LRESULT CALLBACK standardProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Binds the handle in the module's map without subclassing (dialogs).
    void bind(HWND window);
    void unbind();

    HWND hwnd_;
    WNDPROC previousProc_;
    bool ownsWindow_;
};

// The framework's window class for windows made by CWnd::create.
const char* frameworkWindowClass();
