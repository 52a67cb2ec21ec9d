#pragma once

#include "foundation/String.h"

#include <windows.h>

#include <string>

// Where the process and this module run from, computed once on first use.
// Without setModuleHandle the module values equal the executable's.
class ModulePaths
{
public:
    static void setModuleHandle(HINSTANCE module);
    static HINSTANCE instanceHandle();
    static HMODULE exeHandle();

    static const String& exeFile();
    static const String& exeName();
    static const String& exeDirectory();
    static const String& exeVersion();

    static const String& moduleFile();
    static const String& moduleName();
    static const String& moduleDirectory();
    static const String& moduleVersion();

    static void ensureInitialised();
    static void reset();

private:
    static void initialise();
};

// The executable's folder + `name` + "\", created with its parents when
// `create` is set (Exception "File Create Exception" when that fails).
String programSubfolder(const std::string& name, bool create);
String tempFolder();
