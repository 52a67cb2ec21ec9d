/* A DLL that only carries a version resource, for the module path tests. */
#include <windows.h>

__declspec(dllexport) int versionProbeMarker(void)
{
    return 42;
}
