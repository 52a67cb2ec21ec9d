#include "engine/KeyPrefixWriter.h"

KeyPrefixWriter::KeyPrefixWriter(PropertyWriter* target, const String& prefix)
    : KeyMappingWriter(target), prefix_(prefix)
{
}

KeyPrefixWriter::~KeyPrefixWriter()
{
}

String KeyPrefixWriter::mapKey(const String& key) const
{
    return prefix_ + key;
}
