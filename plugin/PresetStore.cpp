#include "plugin/PresetStore.h"

#include "foundation/FileSystem.h"
#include "foundation/ModulePaths.h"
#include "foundation/SpecialFolders.h"
#include "framework/MessageBox.h"

const char kPresetFileName[] = "DaubcrafterPresets.ini";

namespace {

const char kPresetSubfolder[] = "/Quillorantix/presets/";

PresetLocations realLocations()
{
    PresetLocations where;
    where.moduleFolder = ModulePaths::moduleDirectory();
    where.programFilesFolder = SpecialFolders::programFilesFolder();
    where.userFolder = SpecialFolders::appDataFolder();
    return where;
}

PresetLocationsQuery locationsQuery = &realLocations;

bool userToldAboutFallback = false;

String folderOf(const String& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == String::npos ? String() : String(path.substr(0, slash + 1));
}

String userPresetPath(const PresetLocations& where)
{
    return where.userFolder + (kPresetSubfolder + 1) + kPresetFileName;
}

} // namespace

PresetLocationsQuery setPresetLocationsQuery(PresetLocationsQuery query)
{
    PresetLocationsQuery previous = locationsQuery;
    locationsQuery = query ? query : &realLocations;
    return previous;
}

PresetStore::PresetStore(const String& path, const String& fallbackPath)
    : IniFile(path), fallbackPath_(fallbackPath)
{
}

PresetStore::~PresetStore()
{
    // IniFile's destructor would only reach its own flush.
    if (modified)
        flush();
}

void PresetStore::flush()
{
    const String wanted = filePath();
    if (save(String()))
        return;
    if (createDirectoryPath(folderOf(wanted)) && save(String()))
        return;
    if (fallbackPath_.empty() || fallbackPath_ == wanted)
        return;
    createDirectoryPath(folderOf(fallbackPath_));
    if (!save(fallbackPath_))
        return;
    if (!userToldAboutFallback) {
        userToldAboutFallback = true;
        showMessageBox(nullptr,
                       "The presets could not be saved to\n" + wanted
                           + "\nThey were saved to\n" + fallbackPath_,
                       String(), MB_OK | MB_ICONINFORMATION);
    }
}

String presetStorePath(const PresetLocations& where)
{
    const String beside = where.moduleFolder + kPresetFileName;
    if (fileExists(beside))
        return beside;
    // The per-user copy exists only because a save below Program Files
    // failed; it holds everything the user saved since.
    const String user = userPresetPath(where);
    if (fileExists(user))
        return user;
    return where.programFilesFolder + kPresetSubfolder + kPresetFileName;
}

PresetStore* openPresetStore()
{
    const PresetLocations where = locationsQuery();
    return new PresetStore(presetStorePath(where), userPresetPath(where));
}
