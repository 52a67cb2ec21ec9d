#include "foundation/SpecialFolders.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace {

SpecialFolders::FolderQuery currentQuery = &SpecialFolders::folderPath;

String queryOr(int csidl, const String& fallback)
{
    String path;
    if (currentQuery(csidl, path))
        return path;
    return fallback;
}

const char kDocumentsAndSettings[] = "C:\\Documents and Settings\\";
const char kProgramFiles[] = "C:\\Program Files\\";

// The user name is only looked up when the query fails.
String queryOrUserFolder(int csidl, const char* leaf)
{
    String path;
    if (currentQuery(csidl, path))
        return path;
    return kDocumentsAndSettings + SpecialFolders::userName() + "\\" + leaf;
}

// Releases a COM interface on every way out of a scope.
template <typename T>
struct ComRelease {
    T* p = nullptr;
    ~ComRelease()
    {
        if (p)
            p->Release();
    }
};

} // namespace

SpecialFolders::~SpecialFolders() {}

bool SpecialFolders::folderPath(int csidl, String& out)
{
    char buffer[MAX_PATH + 1] = {0};
    if (!SHGetSpecialFolderPathA(nullptr, buffer, csidl, FALSE))
        return false;
    buffer[MAX_PATH] = '\0';
    out = String(buffer) + "\\";
    return true;
}

SpecialFolders::FolderQuery SpecialFolders::setFolderQuery(FolderQuery query)
{
    FolderQuery previous = currentQuery;
    currentQuery = query ? query : &SpecialFolders::folderPath;
    return previous;
}

String SpecialFolders::programFilesFolder()
{
    String path;
    if (currentQuery(CSIDL_PROGRAM_FILES, path))
        return path;
    if (currentQuery(CSIDL_PROGRAMS, path))
        return path;
    return kProgramFiles;
}

String SpecialFolders::commonProgramsFolder()
{
    return queryOr(CSIDL_COMMON_PROGRAMS, kProgramFiles);
}

String SpecialFolders::desktopFolder()
{
    return queryOrUserFolder(CSIDL_DESKTOP, "Desktop\\");
}

String SpecialFolders::commonDesktopFolder()
{
    return queryOr(CSIDL_COMMON_DESKTOPDIRECTORY, String(kDocumentsAndSettings) + "All Users\\Desktop\\");
}

String SpecialFolders::startMenuFolder()
{
    return queryOrUserFolder(CSIDL_STARTMENU, "Start Menu\\");
}

String SpecialFolders::commonStartMenuFolder()
{
    return queryOr(CSIDL_COMMON_STARTMENU, String(kDocumentsAndSettings) + "All Users\\Start Menu\\");
}

String SpecialFolders::appDataFolder()
{
    return queryOrUserFolder(CSIDL_APPDATA, "Application Data\\");
}

String SpecialFolders::userName()
{
    char buffer[256] = {0};
    DWORD size = 255;
    if (!GetUserNameA(buffer, &size))
        return String();
    buffer[255] = '\0';
    return String(buffer);
}

bool SpecialFolders::createShortcut(const String& shortcutPath, const String& description,
                                    const String& targetPath)
{
    char fullTarget[MAX_PATH];
    const DWORD length = GetFullPathNameA(targetPath.c_str(), MAX_PATH, fullTarget, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return false;

    // S_FALSE (already initialised on this thread) still needs its matching
    // uninitialise; a failure (another apartment model) must not get one.
    const HRESULT init = CoInitialize(nullptr);
    if (FAILED(init))
        return false;

    bool saved = false;
    {
        ComRelease<IShellLinkA> link;
        ComRelease<IPersistFile> file;
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                       reinterpret_cast<void**>(&link.p))) &&
            SUCCEEDED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p))) &&
            SUCCEEDED(link.p->SetPath(fullTarget)) &&
            SUCCEEDED(link.p->SetDescription(description.c_str()))) {
            WCHAR widePath[MAX_PATH + 1] = {0};
            const int wideLength = MultiByteToWideChar(CP_ACP, 0, shortcutPath.c_str(), -1, widePath, MAX_PATH);
            if (wideLength > 0)
                saved = SUCCEEDED(file.p->Save(widePath, TRUE));
        }
    }
    CoUninitialize();
    return saved;
}
