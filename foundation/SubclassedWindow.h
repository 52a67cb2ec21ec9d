#pragma once

#include "foundation/MessageHandler.h"
#include "foundation/String.h"

#include <windows.h>

class PropertyReader;
class PropertyWriter;

// An object bound to a window; once subclassed, the window's messages pass
// through windowProc to handleMessage first.
class SubclassedWindow : public MessageHandler
{
public:
    HWND window;
    BYTE ownsWindow;
    WNDPROC previousProc;
    LONG_PTR previousUserData;

    SubclassedWindow();
    SubclassedWindow(HWND window, bool ownsWindow, bool subclassNow);
    SubclassedWindow(const SubclassedWindow&) = delete;
    SubclassedWindow& operator=(const SubclassedWindow&) = delete;
    ~SubclassedWindow() override;

    // Default: answers everything with DefWindowProcA.
    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    virtual void tick(DWORD value);

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    bool callPrevious(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void subclass();
    LONG_PTR unsubclass();
    void detach();
    void destroy();
    void attach(HWND window, bool ownsWindow, bool subclassNow);
    bool create(DWORD exStyle, const char* className, const char* title, DWORD style,
                int x, int y, int width, int height, HWND parent, HMENU menu, void* parameter);
    bool isSubclassed() const { return previousProc != nullptr; }

    // Geometry of the bound window.
    RECT rectInParent() const;
    void screenToClient(RECT& rect) const;
    bool containsScreenPoint(int x, int y, bool topmostOnly) const;
    bool isCursorOver(bool topmostOnly) const;
    bool resize(int width, int height);
    bool moveTo(int x, int y);
    bool moveBy(int dx, int dy);
    bool grow(int a, int b, int c, int d);
    bool setBounds(int x, int y, int width, int height);
    bool setBounds(const RECT& rect);
    String windowText(int maxCount) const;

    // Placement as "x,y,width,height" relative to the parent, size as "width,height".
    void savePlacement(PropertyWriter& writer, const String& key) const;
    bool loadPlacement(const PropertyReader& reader, const String& key);
    void saveSize(PropertyWriter& writer, const String& key) const;
    bool loadSize(const PropertyReader& reader, const String& key);

private:
    void forgetAfterDestroy();
};
