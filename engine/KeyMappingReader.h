#pragma once

#include "foundation/PropertyReader.h"

// Forwards every typed read to a target reader under a mapped key; forEach
// keeps the base version and visits nothing. The array getters are
// inherited: they read their text through getString.
class KeyMappingReader : public PropertyReader
{
public:
    // The target is not owned.
    explicit KeyMappingReader(const PropertyReader* target);
    ~KeyMappingReader() override;

    String getString(const String& key, const String& defaultValue) const override;
    int getInt(const String& key, int defaultValue) const override;
    float getFloat(const String& key, float defaultValue) const override;
    double getDouble(const String& key, double defaultValue) const override;
    char getChar(const String& key, char defaultValue) const override;
    bool getBool(const String& key, bool defaultValue) const override;

    virtual String mapKey(const String& key) const = 0;

    const PropertyReader* target() const { return target_; }

private:
    const PropertyReader* target_;
};
