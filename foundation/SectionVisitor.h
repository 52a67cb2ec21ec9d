#pragma once

#include "foundation/String.h"

class PropertyBag;

// Callback of SettingsStore::forEachSection.
class SectionVisitor
{
public:
    virtual ~SectionVisitor() {}
    virtual void visit(const String& name, PropertyBag& bag) = 0;
};
