#pragma once

#include "foundation/PropertyWriter.h"

// Forwards every typed write to a target writer under a mapped key. The
// array setters are inherited: they join their text and reach the target
// through setString.
class KeyMappingWriter : public PropertyWriter
{
public:
    // The target is not owned.
    explicit KeyMappingWriter(PropertyWriter* target);
    ~KeyMappingWriter() override;

    void setString(const String& key, const String& value) override;
    void setInt(const String& key, int value) override;
    void setDouble(const String& key, double value) override;
    void setFloat(const String& key, float value) override;
    void setChar(const String& key, char value) override;
    void setBool(const String& key, bool value) override;

    virtual String mapKey(const String& key) const = 0;

    PropertyWriter* target() const { return target_; }

private:
    PropertyWriter* target_;
};
