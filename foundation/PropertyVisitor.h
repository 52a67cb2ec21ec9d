#pragma once

#include "foundation/String.h"

// Callback of PropertyReader::forEach: receives each key/value entry.
class PropertyVisitor
{
public:
    virtual ~PropertyVisitor() {}
    virtual void visit(const String& key, const String& value) = 0;
};
