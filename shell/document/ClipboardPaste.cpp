#include "shell/document/ClipboardPaste.h"

#include "image/GdiBridge.h"
#include "shell/files/ShellImageFiles.h"

#include <windows.h>

bool pasteClipboardDib(Image& destination)
{
    if (!OpenClipboard(nullptr))
        return false;
    bool ok;
    try {
        HGLOBAL block = static_cast<HGLOBAL>(GetClipboardData(CF_DIB));
        ok = block && readPackedDib(destination, block) && widenGreyToBgr(destination);
    } catch (...) {
        ok = false;
    }
    CloseClipboard();
    return ok;
}
