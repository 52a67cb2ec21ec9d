#pragma once

#include "foundation/String.h"

class PropertyVisitor;

// Typed reads on top of one text operation. Every typed getter reads the
// text through the object's own getString with "" as default, so a missing
// key and an empty value both give the caller's default.
class PropertyReader
{
public:
    virtual ~PropertyReader() {}

    // Visits nothing unless a store overrides it.
    virtual void forEach(PropertyVisitor& visitor) const;

    virtual String getString(const String& key, const String& defaultValue) const = 0;
    virtual int getInt(const String& key, int defaultValue) const;
    virtual float getFloat(const String& key, float defaultValue) const;
    virtual double getDouble(const String& key, double defaultValue) const;
    virtual char getChar(const String& key, char defaultValue) const;
    virtual bool getBool(const String& key, bool defaultValue) const;

    // Fills out[0..maxCount) with the default, then reads fields split at
    // the separator (each trimmed of " \n\r\t"; an empty field gives the
    // default). Returns the number of fields taken.
    virtual int getIntArray(const String& key, int maxCount, int* out, char separator,
                            int defaultValue) const;
    virtual int getFloatArray(const String& key, int maxCount, float* out, char separator,
                              float defaultValue) const;
    virtual int getDoubleArray(const String& key, int maxCount, double* out, char separator,
                               double defaultValue) const;
};
