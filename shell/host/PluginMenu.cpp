#include "shell/host/PluginMenu.h"

#include "foundation/ModulePaths.h"
#include "shell/host/PluginModule.h"
#include "shell/host/PluginRegistry.h"

namespace {

// The first item with a submenu whose text is exactly `text`.
HMENU findPopup(HMENU menu, const String& text)
{
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA item;
        ZeroMemory(&item, sizeof item);
        item.cbSize = sizeof item;
        item.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
        if (!GetMenuItemInfoA(menu, UINT(i), TRUE, &item) || !item.hSubMenu)
            continue;
        char name[261] = {0};
        GetMenuStringA(menu, UINT(i), name, 260, MF_BYPOSITION);
        if (text == name)
            return item.hSubMenu;
    }
    return nullptr;
}

} // namespace

bool appendMenuPath(HMENU menu, UINT commandId, const String& path)
{
    if (!menu)
        return false;
    const size_t split = path.find('\\');
    if (split == String::npos) {
        if (commandId == 0)
            return AppendMenuA(menu, MF_SEPARATOR, 0, nullptr) != FALSE;
        return AppendMenuA(menu, MF_STRING, commandId, path.c_str()) != FALSE;
    }
    const String head = path.left(int(split));
    const String rest = path.midToEnd(int(split + 1));
    if (HMENU popup = findPopup(menu, head))
        return appendMenuPath(popup, commandId, rest);
    HMENU popup = CreatePopupMenu();
    if (!popup)
        return false;
    if (appendMenuPath(popup, commandId, rest) &&
        AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), head.c_str()))
        return true;
    DestroyMenu(popup);
    return false;
}

void addPluginMenuItems(HMENU menu, const PluginRegistry& registry)
{
    MenuPathBuilder builder(menu);
    for (const String& id : registry.ids()) {
        const PluginModule* module = registry.find(id);
        builder.addItem(UINT(module->commandId()),
                        String("Effects\\") + module->vendor() + "\\" + module->menuName());
    }
}

void buildPluginMenu(HMENU menu)
{
    const String folder = programSubfolder("plugins", true);
    PluginRegistry& registry = PluginRegistry::instance();
    registry.scanFolder(folder, false);
    addPluginMenuItems(menu, registry);
}
