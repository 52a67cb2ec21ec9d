#pragma once

#include <windows.h>

#include "foundation/String.h"

class PluginRegistry;

// Appends an item under a path of popups separated by "\" (popups found by
// their exact text or created); a command id of 0 appends a separator.
bool appendMenuPath(HMENU menu, UINT commandId, const String& path);

// Adds items to one menu by path.
class MenuPathBuilder
{
public:
    explicit MenuPathBuilder(HMENU menu) : menu_(menu) {}
    bool addItem(UINT commandId, const String& path) { return appendMenuPath(menu_, commandId, path); }

private:
    HMENU menu_;
};

// "Effects\<vendor>\<menu name>" for every plug-in of the registry, in
// ascending identifier order.
void addPluginMenuItems(HMENU menu, const PluginRegistry& registry);

// Start-up: loads the plug-ins of the "plugins" folder below the executable
// (created when missing; "File Create Exception" when that fails) into the
// process-wide registry and adds their items to the menu.
void buildPluginMenu(HMENU menu);
