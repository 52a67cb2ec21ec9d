#pragma once

#include "foundation/String.h"

#include <string>

// The four numbers of a module's fixed file version.
struct ModuleVersion
{
    unsigned short major = 0;
    unsigned short minor = 0;
    unsigned short build = 0;
    unsigned short revision = 0;

    // "major.minor.build.revision"
    String toString() const;
};

// Reads the version resource of a module file into `version`. False, with
// `version` untouched, when the file has none or it cannot be read.
bool queryModuleVersion(const std::string& path, ModuleVersion& version);
