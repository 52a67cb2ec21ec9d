#include "engine/KeyMappingWriter.h"

KeyMappingWriter::KeyMappingWriter(PropertyWriter* target) : target_(target)
{
}

KeyMappingWriter::~KeyMappingWriter()
{
}

void KeyMappingWriter::setString(const String& key, const String& value)
{
    target_->setString(mapKey(key), value);
}

void KeyMappingWriter::setInt(const String& key, int value)
{
    target_->setInt(mapKey(key), value);
}

void KeyMappingWriter::setDouble(const String& key, double value)
{
    target_->setDouble(mapKey(key), value);
}

void KeyMappingWriter::setFloat(const String& key, float value)
{
    target_->setFloat(mapKey(key), value);
}

void KeyMappingWriter::setChar(const String& key, char value)
{
    target_->setChar(mapKey(key), value);
}

void KeyMappingWriter::setBool(const String& key, bool value)
{
    target_->setBool(mapKey(key), value);
}
