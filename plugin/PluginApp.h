#pragma once

#include "foundation/String.h"
#include "framework/Application.h"

// "daubcrafter": the application name, the registry profile name and the
// topic of the help address.
const char* pluginProfileName();
// "Daubcrafter".
const char* pluginDisplayName();

// The plug-in DLL's application object: profile under
// Software\Quillorantix\daubcrafter, resources from the DLL itself.
class CPluginApp : public CApplication
{
public:
    CPluginApp();
    bool initInstance() override;
};

CPluginApp& pluginApp();

// Integer 0/1 settings of the profile section "general"; any value other
// than 0 reads as true.
bool readGeneralSetting(const char* key, bool defaultValue);
void writeGeneralSetting(const char* key, bool value);

// The characters a preset or author name may not hold.
extern const char kForbiddenNameChars[];
// "authorname" of "general" (default "user"), as it stands; the author
// dialog's command cleans the name before writing it.
String readAuthorName();
void writeAuthorName(const String& name);

// The help page on the maker's web site for the plug-in's topic.
const String& helpPageAddress();
// The maker's web site.
const char* makerWebSite();
// Shows the quick-help picture over the owner and returns when it closes.
void showQuickHelp(HWND owner);
