#pragma once

#include "engine/KeyMappingWriter.h"

// Writes every key as prefix + key (the caller includes the ".").
class KeyPrefixWriter : public KeyMappingWriter
{
public:
    KeyPrefixWriter(PropertyWriter* target, const String& prefix);
    ~KeyPrefixWriter() override;

    String mapKey(const String& key) const override;

    const String& prefix() const { return prefix_; }

private:
    String prefix_;
};
