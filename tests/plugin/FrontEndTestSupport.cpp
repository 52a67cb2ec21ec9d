#include "FrontEndTestSupport.h"

#include <fstream>
#include <sstream>

#include <shellapi.h>

#include "PluginTestSupport.h"
#include "framework/Application.h"
#include "plugin/PluginApp.h"

namespace plugintest {

bool attachFrontEnd()
{
    static bool attached = [] {
        if (!plugin().module())
            return false;
        CApplication::setProfileRoot(HKEY_CURRENT_USER, "Software\\QxPluginTests");
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QxPluginTests");
        return pluginApp().attachModule(plugin().module());
    }();
    return attached;
}

MessageBoxRecorder::MessageBoxRecorder(int answer)
{
    setMessageBoxHook([this, answer](const MessageBoxRequest& request) {
        boxes.push_back(request);
        return answer;
    });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    setMessageBoxHook(MessageBoxHook());
}

namespace {

void removeTree(const std::string& folder)
{
    // SHFileOperation wants a double-NUL-terminated list without a trailing
    // separator.
    std::string from = folder;
    while (!from.empty() && (from.back() == '\\' || from.back() == '/'))
        from.pop_back();
    from.push_back('\0');
    from.push_back('\0');
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    SHFileOperationA(&op);
}

} // namespace

ScratchFolder::ScratchFolder(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    path = std::string(temp) + name + "\\";
    removeTree(path);
    CreateDirectoryA(path.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder()
{
    removeTree(path);
}

void writeTextFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string readTextFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace plugintest
