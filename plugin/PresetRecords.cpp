#include "plugin/PresetRecords.h"

#include "foundation/IniFile.h"
#include "foundation/PropertyBag.h"
#include "foundation/SectionCopyVisitor.h"
#include "foundation/SectionVisitor.h"
#include "foundation/Timestamp.h"

const char kPresetType[] = "dw1";

namespace {

// A "lastedit" text that names a real date; a text that parses to nothing
// (year 0) or is cut short by a field out of range does not count.
bool parseEditTime(const String& text, Timestamp& out)
{
    out.parse(text);
    return out.year > 0 && out.month >= 1 && out.month <= 12 && out.day >= 1;
}

class ImportVisitor : public SectionVisitor
{
public:
    explicit ImportVisitor(SettingsStore& store) : store_(store), copier_(&store) {}

    void visit(const String& name, PropertyBag& section) override
    {
        // Keys before a file's first header form a section without a name:
        // no preset, and the store would write it back as "[]".
        if (name.empty())
            return;
        PropertyBag incoming(section);
        if (!incoming.contains("lastedit"))
            return;
        Timestamp incomingTime;
        const bool incomingReadable = parseEditTime(incoming.get("lastedit", String()), incomingTime);
        if (store_.hasSection(name)) {
            // An unreadable date never replaces a preset the user has.
            if (!incomingReadable)
                return;
            Timestamp storedTime;
            const String stored = store_.sectionReader(name).getString("lastedit", String());
            if (parseEditTime(stored, storedTime) && !(incomingTime > storedTime))
                return;
        }
        copier_.saveSection(incoming, name);
        ++taken;
    }

    int taken = 0;

private:
    SettingsStore& store_;
    SectionCopyVisitor copier_;
};

class DefaultsVisitor : public SectionVisitor
{
public:
    DefaultsVisitor(SettingsStore& store, PropertyBag& keyTemplate, const String& author)
        : store_(store), template_(keyTemplate), author_(author)
    {
    }

    void visit(const String& name, PropertyBag& section) override
    {
        template_.load(section);
        store_.modified = true;
        template_.save(section);
        if (section.get("name", String()).empty())
            section.setString("name", name);
        if (section.get("author", String()).empty())
            section.setString("author", author_);
        section.setString("type", kPresetType);
    }

private:
    SettingsStore& store_;
    PropertyBag& template_;
    const String& author_;
};

} // namespace

int importPresetFile(SettingsStore& store, const String& path)
{
    IniFile source(path);
    ImportVisitor visitor(store);
    source.forEachSection(visitor);
    // Reading never changes the source; make sure closing does not write it.
    source.modified = false;
    return visitor.taken;
}

void fillPresetDefaults(SettingsStore& store, PropertyBag& keyTemplate, const String& defaultAuthor)
{
    DefaultsVisitor visitor(store, keyTemplate, defaultAuthor);
    store.forEachSection(visitor);
}
