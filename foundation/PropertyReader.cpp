#include "foundation/PropertyReader.h"

#include <cfloat>

namespace {

const char kTrimSet[] = " \n\r\t";

// Narrowing that saturates instead of overflowing to infinity.
float toFloat(double v)
{
    if (v > FLT_MAX)
        return FLT_MAX;
    if (v < -FLT_MAX)
        return -FLT_MAX;
    return static_cast<float>(v);
}

// Takes the next field of rest at the separator. A NUL separator can never
// occur, so the whole rest is one field.
String nextField(String& rest, char separator)
{
    String field;
    if (separator == '\0') {
        field = rest;
        rest.clear();
    } else {
        const char sep[2] = { separator, '\0' };
        field = rest.takeField(sep, 0);
    }
    field.trimLeft(kTrimSet);
    field.trimRight(kTrimSet);
    return field;
}

template <typename T, typename Convert>
int readArray(const String& text, int maxCount, T* out, char separator, T defaultValue,
              Convert convert)
{
    if (maxCount <= 0 || !out)
        return 0;
    for (int i = 0; i < maxCount; ++i)
        out[i] = defaultValue;
    String rest = text;
    int taken = 0;
    while (taken < maxCount && !rest.empty()) {
        String field = nextField(rest, separator);
        out[taken++] = field.empty() ? defaultValue : convert(field);
    }
    return taken;
}

} // namespace

void PropertyReader::forEach(PropertyVisitor&) const
{
}

int PropertyReader::getInt(const String& key, int defaultValue) const
{
    String text = getString(key, String());
    return text.empty() ? defaultValue : text.toInt();
}

float PropertyReader::getFloat(const String& key, float defaultValue) const
{
    String text = getString(key, String());
    return text.empty() ? defaultValue : toFloat(text.toDouble());
}

double PropertyReader::getDouble(const String& key, double defaultValue) const
{
    String text = getString(key, String());
    return text.empty() ? defaultValue : text.toDouble();
}

char PropertyReader::getChar(const String& key, char defaultValue) const
{
    String text = getString(key, String());
    return text.empty() ? defaultValue : text[0];
}

bool PropertyReader::getBool(const String& key, bool defaultValue) const
{
    return getInt(key, defaultValue ? 1 : 0) != 0;
}

int PropertyReader::getIntArray(const String& key, int maxCount, int* out, char separator,
                                int defaultValue) const
{
    return readArray(getString(key, String()), maxCount, out, separator, defaultValue,
                     [](const String& f) { return f.toInt(); });
}

int PropertyReader::getFloatArray(const String& key, int maxCount, float* out, char separator,
                                  float defaultValue) const
{
    return readArray(getString(key, String()), maxCount, out, separator, defaultValue,
                     [](const String& f) { return toFloat(f.toDouble()); });
}

int PropertyReader::getDoubleArray(const String& key, int maxCount, double* out,
                                   char separator, double defaultValue) const
{
    return readArray(getString(key, String()), maxCount, out, separator, defaultValue,
                     [](const String& f) { return f.toDouble(); });
}
