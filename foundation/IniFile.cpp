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
// step, so a failure at any point leaves the old file as it was and is
// reported. The backup is copied to a temporary name and moved over ".bak"
// only when complete: a full disk never trades the old backup for a torn one.
bool IniFile::save(const String& to)
{
    try {
        String target = to.empty() ? path : to;
        if (target.empty() || isDirectory(target))
            return false;

        String temporary = target + "._wr";
        try {
            FileWriter writer(temporary, 0);
            writeIni(writer, *this);
        } catch (...) {
            deleteFile(temporary);
            return false;
        }
        if (fileExists(target)) {
            const String backup = target + "._bk";
            if (!copyFile(target, backup, true) || !moveFile(backup, target + ".bak", true)) {
                deleteFile(backup);
                deleteFile(temporary);
                return false;
            }
        }
        // A read-only target is replaced too: moveFile clears the attribute.
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
