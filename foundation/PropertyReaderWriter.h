#pragma once

#include "foundation/PropertyReader.h"
#include "foundation/PropertyWriter.h"

// Common base of stores that can be both read and written.
class PropertyReaderWriter : public PropertyReader, public PropertyWriter
{
};
