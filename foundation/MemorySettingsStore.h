#pragma once

#include <map>

#include "foundation/PropertyBag.h"
#include "foundation/SettingsStore.h"

// Settings store whose sections live in memory, in ascending byte order of
// their names. With lowerCaseNames set, section names and the sections'
// keys are folded to lower case.
class MemorySettingsStore : public SettingsStore
{
public:
    typedef std::map<String, PropertyBag> Sections;

    explicit MemorySettingsStore(bool lowerCaseNames = false);
    // Unsaved changes of a pure in-memory store are dropped.
    ~MemorySettingsStore() override;

    bool hasSection(const String& name) const override;
    bool sectionExists(const String& name) const override;
    const PropertyReader& sectionReader(const String& name) const override;
    std::vector<String> sectionNames() const override;
    void forEachSection(SectionVisitor& visitor) override;
    unsigned removeSection(const String& name) override;
    PropertyWriter& sectionWriter(const String& name) override;

    // The section, or an always-empty bag when there is none; never creates.
    const PropertyBag& findSection(const String& name) const;
    // The section, created empty when missing; does not set modified.
    PropertyBag& section(const String& name);

    const Sections& sections() const { return sections_; }
    bool lowerCaseNames() const { return lowerCaseNames_; }

private:
    String foldName(const String& name) const;

    Sections sections_;
    bool lowerCaseNames_;
    const PropertyBag emptySection_;
};
