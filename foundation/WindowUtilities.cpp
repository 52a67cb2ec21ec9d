#include "foundation/WindowUtilities.h"

int registerWindowClass(const char* className, UINT style, const char* iconName, WNDPROC procedure)
{
    WNDCLASSEXA wc;
    ZeroMemory(&wc, sizeof wc);
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    if (iconName)
        wc.hIcon = LoadIconA(nullptr, iconName);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    return RegisterClassExA(&wc) ? 0 : 1;
}

String windowClassName(HWND window)
{
    char buffer[32] = {0};
    int length = GetClassNameA(window, buffer, sizeof buffer);
    if (length < 0)
        length = 0;
    if (length > 31)
        length = 31;
    return String(std::string(buffer, length));
}

bool setLayeredAlpha(HWND window, BYTE alpha, int colourKey)
{
    typedef BOOL(WINAPI * SetLayeredFn)(HWND, COLORREF, BYTE, DWORD);
    HMODULE user32 = GetModuleHandleA("USER32.DLL");
    if (!user32)
        return false;
    FARPROC proc = GetProcAddress(user32, "SetLayeredWindowAttributes");
    if (!proc)
        return false;
    SetLayeredFn setLayered = reinterpret_cast<SetLayeredFn>(reinterpret_cast<void (*)()>(proc));

    SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    DWORD flags = 0;
    if (alpha > 0)
        flags |= LWA_ALPHA;
    if (colourKey != -1)
        flags |= LWA_COLORKEY;
    if (flags == 0)
        return false;
    return setLayered(window, COLORREF(colourKey), alpha, flags) != 0;
}
