#include "foundation/PrintfSpec.h"

#include <climits>
#include <cstring>

namespace {

// Digits of a width or precision; values beyond int saturate so that the
// caller's length check refuses them.
const char* readCount(const char* p, int& value)
{
    long long v = 0;
    while (*p >= '0' && *p <= '9') {
        if (v < INT_MAX)
            v = v * 10 + (*p - '0');
        ++p;
    }
    value = v > INT_MAX ? INT_MAX : int(v);
    return p;
}

} // namespace

std::string PrintfSpec::text(int width_, int precision_) const
{
    std::string s = "%";
    s += flags;
    if (width_ >= 0)
        s += std::to_string(width_);
    if (precision_ >= 0) {
        s += '.';
        s += std::to_string(precision_);
    }
    switch (size) {
    case kChar: s += "hh"; break;
    case kShort: s += "h"; break;
    case kLongLong: s += "ll"; break;
    case kLongDouble: s += "L"; break;
    case kLong:
    case kDefault:
        if (wide)
            s += "l";
        break;
    }
    char c = conversion;
    if (c == 'S')
        c = 's';
    else if (c == 'C')
        c = 'c';
    s += c;
    return s;
}

bool parsePrintfSpec(const char* text, PrintfSpec& spec)
{
    spec = PrintfSpec();
    const char* p = text;
    while (*p && std::strchr("-+ #0", *p)) {
        if (spec.flags.find(*p) == std::string::npos)
            spec.flags += *p;
        ++p;
    }
    if (*p == '*') {
        spec.width = PrintfSpec::kStar;
        ++p;
    } else if (*p >= '0' && *p <= '9') {
        p = readCount(p, spec.width);
    }
    if (*p == '.') {
        ++p;
        if (*p == '*') {
            spec.precision = PrintfSpec::kStar;
            ++p;
        } else {
            p = readCount(p, spec.precision); // "." alone means 0
        }
    }
    bool longSeen = false;
    if (p[0] == 'h' && p[1] == 'h') {
        spec.size = PrintfSpec::kChar;
        p += 2;
    } else if (p[0] == 'h') {
        spec.size = PrintfSpec::kShort;
        ++p;
    } else if (p[0] == 'l' && p[1] == 'l') {
        spec.size = PrintfSpec::kLongLong;
        p += 2;
    } else if (p[0] == 'l') {
        spec.size = PrintfSpec::kLong;
        longSeen = true;
        ++p;
    } else if (p[0] == 'L') {
        spec.size = PrintfSpec::kLongDouble;
        ++p;
    } else if (p[0] == 'j' || p[0] == 'q') {
        spec.size = PrintfSpec::kLongLong;
        ++p;
    } else if (p[0] == 'z' || p[0] == 't') {
        spec.size = PrintfSpec::kLong; // 32-bit on this target
        ++p;
    } else if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
        spec.size = PrintfSpec::kLongLong;
        p += 3;
    } else if (p[0] == 'I' && p[1] == '3' && p[2] == '2') {
        spec.size = PrintfSpec::kLong;
        p += 3;
    } else if (p[0] == 'I') {
        spec.size = PrintfSpec::kLong;
        ++p;
    }
    const char c = *p;
    if (!c)
        return false;
    spec.conversion = c;
    switch (c) {
    case 'd': case 'i':
        spec.kind = PrintfSpec::kSigned;
        break;
    case 'u': case 'o': case 'x': case 'X':
        spec.kind = PrintfSpec::kUnsigned;
        break;
    case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': case 'a': case 'A':
        spec.kind = PrintfSpec::kFloating;
        break;
    case 'c': case 'C':
        spec.kind = PrintfSpec::kCharacter;
        spec.wide = c == 'C' || longSeen;
        break;
    case 's': case 'S':
        spec.kind = PrintfSpec::kText;
        spec.wide = c == 'S' || longSeen;
        break;
    case 'p':
        spec.kind = PrintfSpec::kPointer;
        break;
    case 'n':
        spec.kind = PrintfSpec::kCount;
        break;
    default:
        return false;
    }
    spec.length = size_t(p + 1 - text);
    return true;
}
