#include "foundation/NumberText.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "foundation/Exception.h"
#include "foundation/Numeric.h"
#include "foundation/PrintfConversion.h"

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool matchesNoCase(const char* p, const char* word)
{
    for (; *word; ++p, ++word) {
        char c = *p;
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
        if (c != *word)
            return false;
    }
    return true;
}

// strtod on a token in the C form. The runtime reads the radix point of the
// process locale, so when it stops short at the "." the token is tried
// again with the locale's radix point.
double convertToken(const std::string& token)
{
    char* end = nullptr;
    double v = std::strtod(token.c_str(), &end);
    if (end == token.c_str() + token.size())
        return v;
    const lconv* conv = std::localeconv();
    const char* radix = conv ? conv->decimal_point : nullptr;
    const size_t dot = token.find('.');
    if (radix && *radix && dot != std::string::npos) {
        std::string local(token);
        local.replace(dot, 1, radix);
        v = std::strtod(local.c_str(), &end);
    }
    return v;
}

long long truncToLongLong(double v)
{
    if (v != v)
        return 0;
    if (v >= 9223372036854775807.0)
        return LLONG_MAX;
    if (v <= -9223372036854775808.0)
        return LLONG_MIN;
    return (long long)v;
}

// Integer conversions print what a caller passing the matching integer type
// would get: negative values as their two's complement for the unsigned
// forms.
unsigned long long toUnsignedBits(double v, bool wide)
{
    if (v != v)
        return 0;
    if (wide) {
        if (v >= 18446744073709551615.0)
            return ULLONG_MAX;
        if (v >= 9223372036854775808.0)
            return (unsigned long long)v;
        return (unsigned long long)truncToLongLong(v);
    }
    if (v >= 4294967295.0)
        return UINT_MAX;
    if (v >= 0)
        return (unsigned)v;
    return (unsigned)truncToInt(v);
}

} // namespace

String formatNumber(const char* printfFormat, double value)
{
    if (!printfFormat)
        throw Exception(kValueException);
    PrintfConversion found;
    int conversions = 0;
    for (const char* p = printfFormat; *p; ++p) {
        if (*p != '%')
            continue;
        if (p[1] == '%') {
            ++p;
            continue;
        }
        PrintfConversion conv;
        if (!parsePrintfConversion(p + 1, conv) || conv.width == PrintfConversion::kStar
            || conv.precision == PrintfConversion::kStar)
            throw Exception(kValueException);
        found = conv;
        ++conversions;
        p += conv.length;
    }
    if (conversions != 1)
        throw Exception(kValueException);
    const bool wide = found.size == PrintfConversion::kLongLong;
    switch (found.kind) {
    case PrintfConversion::kSigned:
        if (wide)
            return String::fromFormat(printfFormat, truncToLongLong(value));
        return String::fromFormat(printfFormat, truncToInt(value));
    case PrintfConversion::kUnsigned:
        if (wide)
            return String::fromFormat(printfFormat, toUnsignedBits(value, true));
        return String::fromFormat(printfFormat, (unsigned)toUnsignedBits(value, false));
    case PrintfConversion::kCharacter:
        if (found.wide)
            throw Exception(kValueException);
        return String::fromFormat(printfFormat, truncToInt(value));
    case PrintfConversion::kFloating:
        if (found.size == PrintfConversion::kLongDouble)
            return String::fromFormat(printfFormat, (long double)value);
        return String::fromFormat(printfFormat, value);
    default:
        throw Exception(kValueException);
    }
}

bool isCSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

const char* skipSpaceAndSign(const char* p, bool& negative)
{
    while (isCSpace(*p))
        ++p;
    negative = *p == '-';
    if (*p == '+' || *p == '-')
        ++p;
    return p;
}

bool parseDouble(const char* text, double& value, const char** end)
{
    if (end)
        *end = text;
    if (!text)
        return false;
    bool negative = false;
    const char* p = skipSpaceAndSign(text, negative);
    if (matchesNoCase(p, "inf")) {
        p += matchesNoCase(p, "infinity") ? 8 : 3;
        value = negative ? -DBL_MAX : DBL_MAX;
        if (end)
            *end = p;
        return true;
    }
    std::string token(negative ? "-" : "");
    bool digits = false;
    while (isDigit(*p)) {
        token += *p++;
        digits = true;
    }
    if (*p == '.') {
        token += '.';
        ++p;
        while (isDigit(*p)) {
            token += *p++;
            digits = true;
        }
    }
    if (!digits)
        return false; // also "nan": not a number we accept
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        if (*q == '+' || *q == '-')
            ++q;
        if (isDigit(*q)) {
            token.append(p, size_t(q - p));
            while (isDigit(*q))
                token += *q++;
            p = q;
        }
    }
    double v = convertToken(token);
    if (v != v)
        return false;
    if (v > DBL_MAX)
        v = DBL_MAX;
    else if (v < -DBL_MAX)
        v = -DBL_MAX;
    value = v;
    if (end)
        *end = p;
    return true;
}

bool parseLong(const char* text, long& value, const char** end)
{
    if (end)
        *end = text;
    if (!text)
        return false;
    bool negative = false;
    const char* p = skipSpaceAndSign(text, negative);
    if (!isDigit(*p))
        return false;
    long long v = 0;
    const long long limit = negative ? -(long long)LONG_MIN : LONG_MAX;
    for (; isDigit(*p); ++p) {
        if (v <= limit)
            v = v * 10 + (*p - '0');
    }
    if (v > limit)
        v = limit;
    value = long(negative ? -v : v);
    if (end)
        *end = p;
    return true;
}
