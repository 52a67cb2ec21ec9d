#pragma once

#include "foundation/String.h"

class IniFile;
class PropertyReader;
class PropertyWriter;

// The shell's user options: "Options.ini" beside the executable, read on
// first use and saved at exit when something changed it.
class ApplicationOptions
{
public:
    static IniFile& store();
    // Points the store at another file (tests); changes not yet saved to the
    // previous file are dropped.
    static void usePath(const String& path);
    static String defaultPath();
};

// The options the shell reads, in section "default".
enum OptionId
{
    kOptionJpegQuality,
    kOptionNewImageWidth,
    kOptionNewImageHeight,
    kOptionNewImageBpp,
    kOptionResampleSmooth,
    kOptionResampleMaintainAspect,
    kOptionCount
};

struct OptionDescriptor
{
    const char* key;
    double defaultValue;
    double minimum;
    double maximum;
    bool integer;
};

extern const char kOptionsSection[];
const OptionDescriptor& optionDescriptor(OptionId id);

// A missing section reads as an empty one.
const PropertyReader& getOptionsSection(const String& name);
// Creates the section when missing and marks the store modified.
PropertyWriter& createOptionsSection(const String& name);
// Saves at once; false when the file could not be written (the old one stays).
bool saveOptions();

// The stored value limited to the option's range (integers truncated); the
// fallback when the key is missing or holds no number.
double readOption(OptionId id, double fallback);
double readOption(OptionId id);

// The quality the JPEG codec saves with: 80 until LoadJpegQualityOption
// replaces it with the stored "jpegCompressionQuality".
int jpegQuality();
void LoadJpegQualityOption();
