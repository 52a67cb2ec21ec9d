#pragma once

#include <windows.h>

#include <string>

#include "plugin/PluginRecords.h"

// The plug-in DLL loaded by file name, as a host would load it.
class PluginLibrary
{
public:
    explicit PluginLibrary(const std::string& path)
    {
        module_ = LoadLibraryA(path.c_str());
        if (!module_)
            return;
        getInfo = reinterpret_cast<GetInfoProc>(reinterpret_cast<void*>(GetProcAddress(module_, "getInfo")));
        canProcess = reinterpret_cast<CanProcessProc>(reinterpret_cast<void*>(GetProcAddress(module_, "canProcess")));
        processImage = reinterpret_cast<ProcessImageProc>(reinterpret_cast<void*>(GetProcAddress(module_, "processImage")));
    }
    ~PluginLibrary()
    {
        if (module_)
            FreeLibrary(module_);
    }
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    bool loaded() const { return module_ && getInfo && canProcess && processImage; }

    GetInfoProc getInfo = nullptr;
    CanProcessProc canProcess = nullptr;
    ProcessImageProc processImage = nullptr;

private:
    HMODULE module_;
};

// The folder of the running program, with a trailing backslash.
inline std::string programFolder()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    size_t slash = s.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : s.substr(0, slash + 1);
}
