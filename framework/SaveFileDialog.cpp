#include "framework/SaveFileDialog.h"

#include <commdlg.h>

#include "framework/FileDialog.h"

namespace {

SaveFileHook& saveHook()
{
    static SaveFileHook hook;
    return hook;
}

} // namespace

SaveFileHook setSaveFileHook(SaveFileHook hook)
{
    SaveFileHook previous = saveHook();
    saveHook() = std::move(hook);
    return previous;
}

bool askSaveFileName(HWND owner, const String& barSeparatedFilter, const String& defaultName,
                     int& filterIndex, String& path)
{
    if (saveHook())
        return saveHook()(barSeparatedFilter, defaultName, filterIndex, path);
    const std::string filter = fileDialogFilter(barSeparatedFilter);
    char buffer[kFileNameCapacity] = "";
    lstrcpynA(buffer, defaultName.c_str(), kFileNameCapacity);
    OPENFILENAMEA request = {};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFilter = filter.c_str();
    request.nFilterIndex = DWORD(filterIndex > 0 ? filterIndex : 1);
    request.lpstrFile = buffer;
    request.nMaxFile = kFileNameCapacity;
    request.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameA(&request))
        return false;
    filterIndex = int(request.nFilterIndex);
    path = buffer;
    return true;
}
