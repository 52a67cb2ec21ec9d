#pragma once

#include <vector>

#include "foundation/String.h"

class PropertyReader;
class PropertyWriter;
class SectionVisitor;

// A set of named sections of key/value text.
class SettingsStore
{
public:
    SettingsStore();
    // Flushes when modified, as seen from the class being destroyed: the
    // base flush only clears the flag.
    virtual ~SettingsStore();

    virtual bool hasSection(const String& name) const = 0;
    virtual bool sectionExists(const String& name) const = 0;
    // A missing section reads as an empty one; nothing is created.
    virtual const PropertyReader& sectionReader(const String& name) const = 0;
    virtual std::vector<String> sectionNames() const = 0;
    virtual void forEachSection(SectionVisitor& visitor) = 0;
    // Returns the number of sections erased; sets modified when not 0.
    virtual unsigned removeSection(const String& name) = 0;
    // Creates a missing section; does not set modified (writers do).
    virtual PropertyWriter& sectionWriter(const String& name) = 0;
    // Writes pending changes; the base version only clears modified.
    virtual void flush();

    // Set by code that changes a section through a writer.
    bool modified;

private:
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;
};
