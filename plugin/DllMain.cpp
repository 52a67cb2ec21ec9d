#include <windows.h>

#include "foundation/ModulePaths.h"

// Module paths and resources must describe this DLL, not the host program.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        ModulePaths::setModuleHandle(instance);
    return TRUE;
}
