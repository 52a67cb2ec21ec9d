#include "framework/MessageBox.h"

#include "framework/Application.h"

namespace {

MessageBoxHook& hookSlot()
{
    static MessageBoxHook hook;
    return hook;
}

} // namespace

MessageBoxHook setMessageBoxHook(MessageBoxHook hook)
{
    MessageBoxHook previous = hookSlot();
    hookSlot() = std::move(hook);
    return previous;
}

int showMessageBox(HWND owner, const String& text, const String& caption, UINT type)
{
    MessageBoxRequest request;
    request.owner = owner && IsWindow(owner) ? owner : GetActiveWindow();
    request.text = text;
    request.caption = caption;
    if (request.caption.empty() && CApplication::current())
        request.caption = CApplication::current()->title();
    request.type = type;
    if (hookSlot())
        return hookSlot()(request);
    return MessageBoxA(request.owner, request.text.c_str(), request.caption.c_str(), type);
}
