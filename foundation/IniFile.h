#pragma once

#include "foundation/SessionSettingsStore.h"
#include "foundation/String.h"

// A settings store bound to an INI file: loaded on construction, saved safely
// (through "<path>._wr", keeping the previous file as "<path>.bak") on flush
// and on destruction when modified. Nothing here throws.
class IniFile : public SessionSettingsStore
{
public:
    explicit IniFile(const String& path);
    ~IniFile() override;

    // Adds the file's sections; false when it cannot be read (what was read
    // so far is kept).
    bool load(const String& path);
    // Saves to `path`, or to the own path when empty. False whenever the new
    // text did not end up in place; the old file then stays as it was.
    bool save(const String& path);
    void flush() override;

    const String& filePath() const { return path; }

private:
    String path;
};
