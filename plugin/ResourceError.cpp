#include "plugin/ResourceError.h"

#include "framework/Application.h"
#include "framework/MessageBox.h"
#include "plugin/PluginResources.h"

namespace {

String resourceString(UINT id)
{
    char text[512];
    const int n = LoadStringA(resourceModule(), id, text, int(sizeof text));
    return String(std::string(text, n > 0 ? size_t(n) : 0));
}

} // namespace

void showResourceError(UINT stringId)
{
    showMessageBox(nullptr, resourceString(stringId), resourceString(IDS_FILTER_CAPTION),
                   MB_OK | MB_ICONSTOP);
}
