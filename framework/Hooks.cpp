#include "framework/Hooks.h"

#include <windows.h>
#include <shellapi.h>

namespace {

bool keyboardControlKey()
{
    return GetKeyState(VK_CONTROL) < 0;
}

// ShellExecute reports success by a value above 32.
bool shellOpen(const String& address)
{
    const HINSTANCE result =
        ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

ControlKeyQuery keyQuery = &keyboardControlKey;
WebPageOpener pageOpener = &shellOpen;

} // namespace

bool controlKeyDown()
{
    return keyQuery();
}

ControlKeyQuery setControlKeyQuery(ControlKeyQuery query)
{
    ControlKeyQuery previous = keyQuery;
    keyQuery = query ? query : &keyboardControlKey;
    return previous;
}

bool openWebPage(const String& address)
{
    return pageOpener(address);
}

WebPageOpener setWebPageOpener(WebPageOpener opener)
{
    WebPageOpener previous = pageOpener;
    pageOpener = opener ? opener : &shellOpen;
    return previous;
}
