#pragma once

#include <windows.h>

#include <string>

#include "plugin/PluginRecords.h"

// The plug-in DLL loaded by file name, as a host loads it, with its three
// exports resolved.
class PluginLibrary
{
public:
    explicit PluginLibrary(const std::string& file) : path(file), module_(LoadLibraryA(file.c_str()))
    {
        if (!module_)
            return;
        getInfo = exported<GetInfoProc>("getInfo");
        canProcess = exported<CanProcessProc>("canProcess");
        processImage = exported<ProcessImageProc>("processImage");
    }
    ~PluginLibrary()
    {
        if (module_)
            FreeLibrary(module_);
    }
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    bool loaded() const { return module_ && getInfo && canProcess && processImage; }
    HMODULE module() const { return module_; }

    const std::string path;
    GetInfoProc getInfo = nullptr;
    CanProcessProc canProcess = nullptr;
    ProcessImageProc processImage = nullptr;

private:
    // GetProcAddress gives a generic pointer; the export's real type is known.
    template <class Proc>
    Proc exported(const char* name) const
    {
        return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

    HMODULE module_;
};

// The folder of the running program, with a trailing backslash.
inline std::string programFolder()
{
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    const size_t slash = s.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : s.substr(0, slash + 1);
}
