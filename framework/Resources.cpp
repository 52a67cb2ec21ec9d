#include "framework/Resources.h"

#include "framework/Application.h"

String loadResourceString(UINT id)
{
    char buffer[1024];
    const int length = LoadStringA(resourceModule(), id, buffer, sizeof buffer);
    return length > 0 ? String(std::string(buffer, size_t(length))) : String();
}

HCURSOR loadResourceCursor(UINT id)
{
    HCURSOR cursor = LoadCursorA(resourceModule(), MAKEINTRESOURCEA(id));
    return cursor ? cursor : LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
}
