#pragma once

#include "engine/KeyMappingReader.h"

// Reads every key as prefix + key (the caller includes the ".").
class KeyPrefixReader : public KeyMappingReader
{
public:
    KeyPrefixReader(const PropertyReader* target, const String& prefix);
    ~KeyPrefixReader() override;

    String mapKey(const String& key) const override;

    const String& prefix() const { return prefix_; }

private:
    String prefix_;
};
