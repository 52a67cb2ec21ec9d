#include "engine/KeyMappingReader.h"

KeyMappingReader::KeyMappingReader(const PropertyReader* target) : target_(target)
{
}

KeyMappingReader::~KeyMappingReader()
{
}

String KeyMappingReader::getString(const String& key, const String& defaultValue) const
{
    return target_->getString(mapKey(key), defaultValue);
}

int KeyMappingReader::getInt(const String& key, int defaultValue) const
{
    return target_->getInt(mapKey(key), defaultValue);
}

float KeyMappingReader::getFloat(const String& key, float defaultValue) const
{
    return target_->getFloat(mapKey(key), defaultValue);
}

double KeyMappingReader::getDouble(const String& key, double defaultValue) const
{
    return target_->getDouble(mapKey(key), defaultValue);
}

char KeyMappingReader::getChar(const String& key, char defaultValue) const
{
    return target_->getChar(mapKey(key), defaultValue);
}

bool KeyMappingReader::getBool(const String& key, bool defaultValue) const
{
    return target_->getBool(mapKey(key), defaultValue);
}
