#include "engine/KeyPrefixReader.h"

KeyPrefixReader::KeyPrefixReader(const PropertyReader* target, const String& prefix)
    : KeyMappingReader(target), prefix_(prefix)
{
}

KeyPrefixReader::~KeyPrefixReader()
{
}

String KeyPrefixReader::mapKey(const String& key) const
{
    return prefix_ + key;
}
