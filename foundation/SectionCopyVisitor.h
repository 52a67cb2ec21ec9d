#pragma once

#include "foundation/SectionVisitor.h"

class Persistable;
class SettingsStore;

// Copies every visited section into a target store (preset import).
class SectionCopyVisitor : public SectionVisitor
{
public:
    explicit SectionCopyVisitor(SettingsStore* target);

    void visit(const String& name, PropertyBag& bag) override;

    // Saves the object into the target's section (created when missing)
    // and marks the target modified; keys the object does not write stay.
    void saveSection(Persistable& object, const String& name);

    SettingsStore* target() const { return target_; }

private:
    SettingsStore* target_;
};
