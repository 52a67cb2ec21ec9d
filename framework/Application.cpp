#include "framework/Application.h"

#include <commctrl.h>

#include "foundation/RegistryKey.h"

namespace {

CApplication* currentApp = nullptr;
HKEY profileRoot = HKEY_CURRENT_USER;
String& softwarePath()
{
    static String path("Software");
    return path;
}

// Longest profile string taken; anything longer reads as the default.
const DWORD kMaxProfileString = 4096;

} // namespace

CApplication::CApplication(const char* name)
    : mainWindow(nullptr), name_(name), title_(name), instance_(nullptr), resources_(nullptr),
      previous_(currentApp)
{
    currentApp = this;
}

CApplication::~CApplication()
{
    if (currentApp == this)
        currentApp = previous_;
}

CApplication* CApplication::current()
{
    return currentApp;
}

bool CApplication::attachModule(HINSTANCE instance)
{
    instance_ = instance;
    return initInstance();
}

int CApplication::detachModule()
{
    return exitInstance();
}

bool CApplication::initInstance()
{
    return true;
}

int CApplication::exitInstance()
{
    return 0;
}

void CApplication::setProfileRoot(HKEY root, const String& path)
{
    profileRoot = root;
    softwarePath() = path;
}

void CApplication::resetProfileRoot()
{
    setProfileRoot(HKEY_CURRENT_USER, "Software");
}

String CApplication::sectionKeyPath(const String& section) const
{
    return softwarePath() + "\\" + registryKey_ + "\\" + name_ + "\\" + section;
}

int CApplication::profileInt(const String& section, const String& key, int defaultValue) const
{
    if (registryKey_.empty())
        return defaultValue;
    RegistryKey reg(profileRoot, sectionKeyPath(section), false);
    if (!reg.isOpen())
        return defaultValue;
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExA(reg.handle(), key.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS
        || type != REG_DWORD || size != sizeof value)
        return defaultValue;
    return int(value);
}

bool CApplication::writeProfileInt(const String& section, const String& key, int value)
{
    if (registryKey_.empty())
        return false;
    RegistryKey reg(profileRoot, sectionKeyPath(section), true);
    const uint32_t dword = uint32_t(value);
    return reg.setDword(key, &dword);
}

String CApplication::profileString(const String& section, const String& key,
                                   const String& defaultValue) const
{
    if (registryKey_.empty())
        return defaultValue;
    RegistryKey reg(profileRoot, sectionKeyPath(section), false);
    if (!reg.isOpen())
        return defaultValue;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(reg.handle(), key.c_str(), nullptr, &type, nullptr, &size)
            != ERROR_SUCCESS
        || type != REG_SZ || size > kMaxProfileString)
        return defaultValue;
    String text(size, '\0');
    if (size > 0
        && RegQueryValueExA(reg.handle(), key.c_str(), nullptr, &type,
                            reinterpret_cast<BYTE*>(&text[0]), &size) != ERROR_SUCCESS)
        return defaultValue;
    // The stored text may or may not carry its terminator.
    text.resize(strnlen(text.c_str(), size));
    return text;
}

bool CApplication::writeProfileString(const String& section, const String& key,
                                      const String& value)
{
    if (registryKey_.empty())
        return false;
    RegistryKey reg(profileRoot, sectionKeyPath(section), true);
    return reg.isOpen()
        && RegSetValueExA(reg.handle(), key.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()),
                          DWORD(value.size() + 1)) == ERROR_SUCCESS;
}

HINSTANCE resourceModule()
{
    CApplication* app = CApplication::current();
    HINSTANCE module = app ? app->resourceHandle() : nullptr;
    return module ? module : GetModuleHandleA(nullptr);
}

void initCommonControls()
{
    static bool done = false;
    if (done)
        return;
    INITCOMMONCONTROLSEX init;
    init.dwSize = sizeof init;
    init.dwICC = ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS
        | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES;
    done = InitCommonControlsEx(&init) != FALSE;
}
