#include "foundation/IniFile.h"

#include "foundation/FileReader.h"
#include "foundation/FileSystem.h"
#include "foundation/FileWriter.h"
#include "foundation/IniText.h"

#include <windows.h>

IniFile::IniFile(const String& filePath) : SessionSettingsStore(), path(filePath)
{
    if (!path.empty())
        load(path);
}

IniFile::~IniFile()
{
    if (modified)
        flush();
}

bool IniFile::load(const String& from)
{
    try {
        FileReader reader(from);
        readIni(reader, *this);
        path = from;
        return true;
    } catch (...) {
        return false;
    }
}

// The new text is written beside the target first and moved over it in one
// step, so a failure at any point leaves the old file (and its backup) as it
// was and is reported.
bool IniFile::save(const String& to)
{
    try {
        String target = to.empty() ? path : to;
        if (target.empty())
            return false;
        DWORD attributes = GetFileAttributesA(target.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES
            && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
            return false;

        String temporary = target + "._wr";
        try {
            FileWriter writer(temporary, 0);
            writeIni(writer, *this);
        } catch (...) {
            deleteFile(temporary);
            return false;
        }
        if (fileExists(target))
            copyFile(target, target + ".bak", true);
        if (!moveFile(temporary, target, true)) {
            deleteFile(temporary);
            return false;
        }
        path = target;
        modified = false;
        return true;
    } catch (...) {
        return false;
    }
}

void IniFile::flush()
{
    save(String());
}
