#include "foundation/SectionCopyVisitor.h"

#include "foundation/PropertyBag.h"
#include "foundation/SettingsStore.h"

SectionCopyVisitor::SectionCopyVisitor(SettingsStore* target) : target_(target)
{
}

void SectionCopyVisitor::visit(const String& name, PropertyBag& bag)
{
    saveSection(bag, name);
}

void SectionCopyVisitor::saveSection(Persistable& object, const String& name)
{
    if (!target_)
        return;
    PropertyWriter& writer = target_->sectionWriter(name);
    target_->modified = true;
    object.save(writer);
}
