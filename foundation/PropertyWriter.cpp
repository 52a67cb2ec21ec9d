#include "foundation/PropertyWriter.h"

#include "foundation/NumberText.h"

namespace {

// Number text in the C locale's form whatever locale the host has set.
String floatText(double value)
{
    return formatNumber("%f", value);
}

template <typename T, typename Format>
String joinValues(int count, const T* values, char separator, Format format)
{
    String text;
    if (count <= 0 || !values)
        return text;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            text += separator;
        text += format(values[i]);
    }
    return text;
}

String intText(int value)
{
    return String::fromFormat("%d", value);
}

} // namespace

void PropertyWriter::setInt(const String& key, int value)
{
    setString(key, intText(value));
}

void PropertyWriter::setDouble(const String& key, double value)
{
    setString(key, floatText(value));
}

void PropertyWriter::setFloat(const String& key, float value)
{
    setString(key, floatText(value));
}

void PropertyWriter::setChar(const String& key, char value)
{
    setString(key, value ? String(1, value) : String());
}

void PropertyWriter::setBool(const String& key, bool value)
{
    setInt(key, value ? 1 : 0);
}

void PropertyWriter::setIntArray(const String& key, int count, const int* values, char separator)
{
    setString(key, joinValues(count, values, separator, intText));
}

void PropertyWriter::setFloatArray(const String& key, int count, const float* values,
                                   char separator)
{
    setString(key, joinValues(count, values, separator,
                              [](float v) { return floatText(v); }));
}

void PropertyWriter::setDoubleArray(const String& key, int count, const double* values,
                                    char separator)
{
    setString(key, joinValues(count, values, separator, floatText));
}
