#include "foundation/ModulePaths.h"

#include "foundation/Exception.h"
#include "foundation/FileSystem.h"
#include "foundation/ModuleVersion.h"
#include "foundation/PathParts.h"

#include <vector>

namespace {

struct ModulePathState
{
    HMODULE exe = nullptr;
    HINSTANCE module = nullptr;
    bool done = false;
    String exeFile, exeName, exeDirectory, exeVersion;
    String moduleFile, moduleName, moduleDirectory, moduleVersion;
};

// Built on first use, so callers from other static initialisers are safe.
ModulePathState& state()
{
    static ModulePathState s;
    return s;
}

// GetModuleFileNameA truncates silently at the buffer size, so grow the
// buffer until the whole name fits.
String moduleFileName(HMODULE module)
{
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameA(module, buffer.data(), DWORD(buffer.size()));
        if (n == 0)
            return String();
        if (n < buffer.size())
            return String(std::string(buffer.data(), n));
        if (buffer.size() >= 32768)
            return String(std::string(buffer.data(), n));
        buffer.resize(buffer.size() * 2);
    }
}

void describe(const String& file, String& name, String& directory, String& version)
{
    PathParts parts(file);
    name = parts.name;
    directory = parts.driveAndFolder();
    // A module without a version resource reads as 0.0.0.0.
    ModuleVersion numbers;
    queryModuleVersion(file, numbers);
    version = numbers.toString();
}

}

void ModulePaths::initialise()
{
    ModulePathState& s = state();
    s.exe = GetModuleHandleA(nullptr);
    s.exeFile = moduleFileName(nullptr);
    describe(s.exeFile, s.exeName, s.exeDirectory, s.exeVersion);
    if (s.module) {
        s.moduleFile = moduleFileName(s.module);
        describe(s.moduleFile, s.moduleName, s.moduleDirectory, s.moduleVersion);
    } else {
        s.moduleFile = s.exeFile;
        s.moduleName = s.exeName;
        s.moduleDirectory = s.exeDirectory;
        s.moduleVersion = s.exeVersion;
    }
    s.done = true;
}

void ModulePaths::ensureInitialised()
{
    if (!state().done)
        initialise();
}

void ModulePaths::reset()
{
    state().done = false;
}

void ModulePaths::setModuleHandle(HINSTANCE module)
{
    state().module = module;
}

HINSTANCE ModulePaths::instanceHandle()
{
    ModulePathState& s = state();
    if (s.module)
        return s.module;
    ensureInitialised();
    return s.exe;
}

HMODULE ModulePaths::exeHandle()
{
    ensureInitialised();
    return state().exe;
}

const String& ModulePaths::exeFile() { ensureInitialised(); return state().exeFile; }
const String& ModulePaths::exeName() { ensureInitialised(); return state().exeName; }
const String& ModulePaths::exeDirectory() { ensureInitialised(); return state().exeDirectory; }
const String& ModulePaths::exeVersion() { ensureInitialised(); return state().exeVersion; }
const String& ModulePaths::moduleFile() { ensureInitialised(); return state().moduleFile; }
const String& ModulePaths::moduleName() { ensureInitialised(); return state().moduleName; }
const String& ModulePaths::moduleDirectory() { ensureInitialised(); return state().moduleDirectory; }
const String& ModulePaths::moduleVersion() { ensureInitialised(); return state().moduleVersion; }

String programSubfolder(const std::string& name, bool create)
{
    String folder = ModulePaths::exeDirectory();
    folder += name;
    if (folder.empty() || folder[folder.size() - 1] != '\\')
        folder += "\\";
    if (create && !createDirectoryPath(folder))
        throw Exception(kFileCreateException);
    return folder;
}

String tempFolder()
{
    return programSubfolder("temp", true);
}
