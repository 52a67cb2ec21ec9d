#include "framework/FileDialog.h"

#include <commdlg.h>

#include "framework/Dialog.h"

namespace {

OpenFileHook& hookSlot()
{
    static OpenFileHook hook;
    return hook;
}

} // namespace

std::string fileDialogFilter(const String& barSeparated)
{
    std::string out(barSeparated);
    while (!out.empty() && out.back() == '|')
        out.pop_back();
    for (char& c : out)
        if (c == '|')
            c = '\0';
    out.push_back('\0');
    out.push_back('\0');
    return out;
}

OpenFileHook setOpenFileHook(OpenFileHook hook)
{
    OpenFileHook previous = hookSlot();
    hookSlot() = std::move(hook);
    return previous;
}

bool askOpenFileName(HWND owner, const String& title, const String& barSeparatedFilter,
                     String& path)
{
    if (hookSlot())
        return hookSlot()(title, barSeparatedFilter, path);
    const std::string filter = fileDialogFilter(barSeparatedFilter);
    char file[kFileNameCapacity] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = CDialog::resolveOwner(owner);
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!GetOpenFileNameA(&ofn))
        return false;
    path = file;
    return true;
}
