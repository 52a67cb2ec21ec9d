#include "plugin/PluginApp.h"

#include "engine/ComponentSet.h"
#include "foundation/ModulePaths.h"
#include "framework/Hooks.h"
#include "plugin/PluginResources.h"
#include "plugin/dialogs/QuickHelpDialog.h"

namespace {

const char kGeneral[] = "general";

// The engine asks the framework's one Control-key query, so a test holds
// the key for both.
bool frameworkControlKey()
{
    return controlKeyDown();
}

} // namespace

const char kForbiddenNameChars[] = "<>()[]|*\\\r\n\t";

const char* pluginProfileName()
{
    return "daubcrafter";
}

const char* pluginDisplayName()
{
    return "Daubcrafter";
}

const char* makerWebSite()
{
    return "https://www.quillorantix.example/";
}

const String& helpPageAddress()
{
    static const String address = String(makerWebSite()) + "help.php?p=" + pluginProfileName();
    return address;
}

CPluginApp::CPluginApp() : CApplication(pluginProfileName())
{
    setTitle("Quillorantix Daubcrafter");
    ComponentSet::setControlKeyQuery(&frameworkControlKey);
}

bool CPluginApp::initInstance()
{
    mainWindow = nullptr;
    setRegistryKey("Quillorantix");
    ModulePaths::setModuleHandle(instanceHandle());
    return true;
}

CPluginApp& pluginApp()
{
    static CPluginApp app;
    return app;
}

bool readGeneralSetting(const char* key, bool defaultValue)
{
    return pluginApp().profileInt(kGeneral, key, defaultValue ? 1 : 0) != 0;
}

void writeGeneralSetting(const char* key, bool value)
{
    pluginApp().writeProfileInt(kGeneral, key, value ? 1 : 0);
}

String readAuthorName()
{
    return pluginApp().profileString(kGeneral, "authorname", "user");
}

void writeAuthorName(const String& name)
{
    pluginApp().writeProfileString(kGeneral, "authorname", name);
}

void showQuickHelp(HWND owner)
{
    CQuickHelpDialog dialog(IDB_QUICK_HELP, owner);
    dialog.doModal();
}
