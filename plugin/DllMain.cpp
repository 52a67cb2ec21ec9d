#include <windows.h>

#include "plugin/PluginApp.h"

// Module paths and resources must describe this DLL, not the host program:
// the application object records the instance handle first thing.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        try {
            pluginApp().attachModule(instance);
        } catch (...) {
            return FALSE;
        }
    } else if (reason == DLL_PROCESS_DETACH) {
        try {
            pluginApp().detachModule();
        } catch (...) {
        }
    }
    return TRUE;
}
