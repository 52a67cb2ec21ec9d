#pragma once

#include "foundation/String.h"

// Typed writes on top of one text operation. Every typed setter formats its
// value and stores it through the object's own setString, so a store (or an
// adapter) that overrides setString sees every write.
class PropertyWriter
{
public:
    virtual ~PropertyWriter() {}

    virtual void setString(const String& key, const String& value) = 0;
    virtual void setInt(const String& key, int value);          // "%d"
    virtual void setDouble(const String& key, double value);    // "%lf"
    virtual void setFloat(const String& key, float value);      // "%f"
    virtual void setChar(const String& key, char value);        // NUL gives ""
    virtual void setBool(const String& key, bool value);        // "1" / "0"

    // Values joined by the separator, none after the last; a count of 0 or
    // less stores the empty text.
    virtual void setIntArray(const String& key, int count, const int* values, char separator);
    virtual void setFloatArray(const String& key, int count, const float* values, char separator);
    virtual void setDoubleArray(const String& key, int count, const double* values, char separator);
};
