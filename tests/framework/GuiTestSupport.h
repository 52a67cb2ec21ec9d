#pragma once

// Drives modal windows from inside their own message loops: a thread timer
// fires in whatever modal loop runs, finds this thread's topmost visible
// dialog and hands it to an action. Header only; both GUI suites use it.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/MessagePump.h"

namespace guitest {

typedef std::function<void(HWND dialog)> DialogAction;

inline std::vector<DialogAction>& pendingActions()
{
    static std::vector<DialogAction> actions;
    return actions;
}

inline BOOL CALLBACK findDialog(HWND window, LPARAM result)
{
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (IsWindowVisible(window) && lstrcmpA(name, "#32770") == 0) {
        HWND* out = reinterpret_cast<HWND*>(result);
        // Enumeration runs top of the Z order first; the newest modal window
        // is active.
        if (!*out || window == GetActiveWindow())
            *out = window;
    }
    return TRUE;
}

inline HWND topDialog()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &findDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

inline void CALLBACK actionTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND dialog = topDialog();
    if (!dialog || pendingActions().empty())
        return;
    KillTimer(nullptr, id);
    DialogAction action = pendingActions().front();
    pendingActions().erase(pendingActions().begin());
    action(dialog);
}

// Runs `action` on the topmost dialog once one is up (polled every 30 ms).
// Actions run in the order they were queued, one per timer.
inline void whenDialogUp(DialogAction action)
{
    pendingActions().push_back(std::move(action));
    SetTimer(nullptr, 0, 30, &actionTimer);
}

// Lets queued and posted messages run.
inline void pumpMessages(DWORD milliseconds = 50)
{
    const DWORD until = GetTickCount() + milliseconds;
    do {
        MessagePump().pumpPending();
        Sleep(5);
    } while (GetTickCount() < until);
}

// A DWORD value set for the life of the object and put back (or removed)
// afterwards: for profiles that a loaded DLL reads through its own copy of
// the framework, which no in-process seam reaches.
class ScopedRegistryDword
{
public:
    ScopedRegistryDword(HKEY root, const std::string& path, const std::string& name, DWORD value)
        : root_(root), path_(path), name_(name)
    {
        HKEY key = nullptr;
        if (RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return;
        DWORD type = 0, size = sizeof old_;
        had_ = RegQueryValueExA(key, name_.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&old_),
                                &size) == ERROR_SUCCESS &&
               type == REG_DWORD && size == sizeof old_;
        RegSetValueExA(key, name_.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value);
        RegCloseKey(key);
    }
    ~ScopedRegistryDword()
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_WRITE, &key) != ERROR_SUCCESS)
            return;
        if (had_)
            RegSetValueExA(key, name_.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_),
                           sizeof old_);
        else
            RegDeleteValueA(key, name_.c_str());
        RegCloseKey(key);
    }
    ScopedRegistryDword(const ScopedRegistryDword&) = delete;
    ScopedRegistryDword& operator=(const ScopedRegistryDword&) = delete;

private:
    HKEY root_;
    std::string path_;
    std::string name_;
    DWORD old_ = 0;
    bool had_ = false;
};

inline void pressKey(HWND window, UINT key)
{
    HWND target = GetFocus() ? GetFocus() : window;
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

// The window's pixels as seen on screen, rows top-down, B,G,R,x.
struct Capture
{
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;

    COLORREF at(int x, int y) const
    {
        const unsigned char* p = &pixels[(size_t(y) * size_t(width) + size_t(x)) * 4];
        return RGB(p[2], p[1], p[0]);
    }
};

// The pixels of a screen rectangle as they are, with nothing repainted
// first; with `window`, its frame as it paints it over the top.
inline Capture captureScreen(const RECT& r, HWND window = nullptr)
{
    Capture capture;
    capture.width = r.right - r.left;
    capture.height = r.bottom - r.top;
    if (capture.width <= 0 || capture.height <= 0)
        return capture;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = capture.width;
    info.bmiHeader.biHeight = -capture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, capture.width, capture.height, screen, r.left, r.top, SRCCOPY);
    if (window) {
        // The caption and frame as the window itself paints them.
        HDC windowDc = GetWindowDC(window);
        SendMessageA(window, WM_NCPAINT, 1, 0);
        BitBlt(memory, 0, 0, capture.width, capture.height, windowDc, 0, 0, SRCCOPY);
        ReleaseDC(window, windowDc);
    }
    GdiFlush();
    const unsigned char* start = static_cast<const unsigned char*>(bits);
    capture.pixels.assign(start, start + size_t(capture.width) * size_t(capture.height) * 4);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return capture;
}

// The client area on screen as it is now.
inline RECT screenClientRect(HWND window)
{
    RECT r;
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline Capture captureWindow(HWND window, bool client = false)
{
    // The frame too: without a window manager Wine paints captions only
    // when asked.
    RedrawWindow(window, nullptr, nullptr,
                 RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (client)
        return captureScreen(screenClientRect(window));
    RECT r;
    GetWindowRect(window, &r);
    return captureScreen(r, window);
}

// Pixels in which two captures of the same size differ.
inline int differingPixels(const Capture& a, const Capture& b)
{
    if (a.width != b.width || a.height != b.height)
        return -1;
    int count = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            count += a.at(x, y) != b.at(x, y);
    return count;
}

} // namespace guitest
