#include "foundation/MemorySettingsStore.h"

#include "foundation/SectionVisitor.h"

MemorySettingsStore::MemorySettingsStore(bool lowerCaseNames)
    : lowerCaseNames_(lowerCaseNames), emptySection_(false)
{
}

MemorySettingsStore::~MemorySettingsStore()
{
    if (modified)
        SettingsStore::flush();
}

String MemorySettingsStore::foldName(const String& name) const
{
    String folded(name);
    if (lowerCaseNames_)
        folded.toLower();
    return folded;
}

bool MemorySettingsStore::hasSection(const String& name) const
{
    return sections_.find(foldName(name)) != sections_.end();
}

bool MemorySettingsStore::sectionExists(const String& name) const
{
    return hasSection(name);
}

const PropertyBag& MemorySettingsStore::findSection(const String& name) const
{
    Sections::const_iterator it = sections_.find(foldName(name));
    return it != sections_.end() ? it->second : emptySection_;
}

PropertyBag& MemorySettingsStore::section(const String& name)
{
    String folded = foldName(name);
    Sections::iterator it = sections_.find(folded);
    if (it == sections_.end())
        it = sections_.insert(Sections::value_type(folded, PropertyBag(lowerCaseNames_))).first;
    return it->second;
}

const PropertyReader& MemorySettingsStore::sectionReader(const String& name) const
{
    return findSection(name);
}

PropertyWriter& MemorySettingsStore::sectionWriter(const String& name)
{
    return section(name);
}

std::vector<String> MemorySettingsStore::sectionNames() const
{
    std::vector<String> names;
    names.reserve(sections_.size());
    for (Sections::const_iterator it = sections_.begin(); it != sections_.end(); ++it)
        names.push_back(it->first);
    return names;
}

void MemorySettingsStore::forEachSection(SectionVisitor& visitor)
{
    // Walks a list of names, so that a visitor that adds or removes
    // sections of this store does not break the walk.
    std::vector<String> names = sectionNames();
    for (size_t i = 0; i < names.size(); ++i) {
        Sections::iterator it = sections_.find(names[i]);
        if (it != sections_.end())
            visitor.visit(it->first, it->second);
    }
}

unsigned MemorySettingsStore::removeSection(const String& name)
{
    unsigned erased = static_cast<unsigned>(sections_.erase(foldName(name)));
    if (erased != 0)
        modified = true;
    return erased;
}
