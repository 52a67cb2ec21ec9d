#include "shell/files/ApplicationOptions.h"

#include "foundation/IniFile.h"
#include "foundation/ModulePaths.h"
#include "foundation/NumberText.h"
#include "foundation/PropertyReader.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <memory>

const char kOptionsSection[] = "default";

namespace {

// Keys and defaults are what stored files hold; the ranges are those of the
// dialogs' up-down controls and of the resample filter.
const OptionDescriptor kOptions[] = {
    {"jpegCompressionQuality", 80, 1, 99, true},
    {"newImageWidth", 1024, 2, 32767, true},
    {"newImageHeight", 768, 2, 32767, true},
    // The dialogs read any value other than 24 or 32 in their own ways.
    {"newImageBPP", 24, -DBL_MAX, DBL_MAX, true},
    {"resample_smooth", 1.0, 0, 4, false},
    {"resample_maintain_aspect", 1.0, 0, 1, true},
};
static_assert(sizeof kOptions / sizeof kOptions[0] == kOptionCount, "one descriptor per option");

std::unique_ptr<IniFile>& storeHolder()
{
    static std::unique_ptr<IniFile> store;
    return store;
}

int& currentJpegQuality()
{
    static int quality = 80;
    return quality;
}

} // namespace

String ApplicationOptions::defaultPath()
{
    return ModulePaths::exeDirectory() + "Options.ini";
}

IniFile& ApplicationOptions::store()
{
    std::unique_ptr<IniFile>& holder = storeHolder();
    if (!holder)
        holder.reset(new IniFile(defaultPath()));
    return *holder;
}

void ApplicationOptions::usePath(const String& path)
{
    std::unique_ptr<IniFile>& holder = storeHolder();
    if (holder)
        holder->modified = false;
    holder.reset(new IniFile(path));
}

const OptionDescriptor& optionDescriptor(OptionId id)
{
    return kOptions[id >= 0 && id < kOptionCount ? id : 0];
}

const PropertyReader& getOptionsSection(const String& name)
{
    return ApplicationOptions::store().sectionReader(name);
}

PropertyWriter& createOptionsSection(const String& name)
{
    IniFile& store = ApplicationOptions::store();
    store.modified = true;
    return store.sectionWriter(name);
}

bool saveOptions()
{
    return ApplicationOptions::store().save(String());
}

double readOption(OptionId id, double fallback)
{
    const OptionDescriptor& option = optionDescriptor(id);
    const String text = getOptionsSection(kOptionsSection).getString(option.key, String());
    double value;
    if (!parseDouble(text.c_str(), value))
        return fallback;
    if (option.integer)
        value = std::trunc(value);
    return std::max(option.minimum, std::min(option.maximum, value));
}

double readOption(OptionId id)
{
    return readOption(id, optionDescriptor(id).defaultValue);
}

int jpegQuality()
{
    return currentJpegQuality();
}

void LoadJpegQualityOption()
{
    currentJpegQuality() = int(readOption(kOptionJpegQuality, currentJpegQuality()));
}
