#include "foundation/PrintfConversion.h"

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

// size_t, ptrdiff_t and a bare "I" take a pointer-sized argument: 64 bits on
// x64, where long stays 32.
const PrintfConversion::Size kPointerSized =
    sizeof(void*) == 8 ? PrintfConversion::kLongLong : PrintfConversion::kLong;

} // namespace

std::string PrintfConversion::text(int width_, int precision_) const
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

bool parsePrintfConversion(const char* text, PrintfConversion& conv)
{
    conv = PrintfConversion();
    const char* p = text;
    while (*p && std::strchr("-+ #0", *p)) {
        if (conv.flags.find(*p) == std::string::npos)
            conv.flags += *p;
        ++p;
    }
    if (*p == '*') {
        conv.width = PrintfConversion::kStar;
        ++p;
    } else if (*p >= '0' && *p <= '9') {
        p = readCount(p, conv.width);
    }
    if (*p == '.') {
        ++p;
        if (*p == '*') {
            conv.precision = PrintfConversion::kStar;
            ++p;
        } else {
            p = readCount(p, conv.precision); // "." alone means 0
        }
    }
    bool longSeen = false;
    if (p[0] == 'h' && p[1] == 'h') {
        conv.size = PrintfConversion::kChar;
        p += 2;
    } else if (p[0] == 'h') {
        conv.size = PrintfConversion::kShort;
        ++p;
    } else if (p[0] == 'l' && p[1] == 'l') {
        conv.size = PrintfConversion::kLongLong;
        p += 2;
    } else if (p[0] == 'l' || p[0] == 'w') {
        // "w" is the runtime's own spelling of "l" for wide text.
        conv.size = PrintfConversion::kLong;
        longSeen = true;
        ++p;
    } else if (p[0] == 'L') {
        conv.size = PrintfConversion::kLongDouble;
        ++p;
    } else if (p[0] == 'j' || p[0] == 'q') {
        conv.size = PrintfConversion::kLongLong;
        ++p;
    } else if (p[0] == 'z' || p[0] == 't') {
        conv.size = kPointerSized;
        ++p;
    } else if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
        conv.size = PrintfConversion::kLongLong;
        p += 3;
    } else if (p[0] == 'I' && p[1] == '3' && p[2] == '2') {
        conv.size = PrintfConversion::kLong;
        p += 3;
    } else if (p[0] == 'I') {
        conv.size = kPointerSized;
        ++p;
    }
    const char c = *p;
    if (!c)
        return false;
    conv.conversion = c;
    switch (c) {
    case 'd': case 'i':
        conv.kind = PrintfConversion::kSigned;
        break;
    case 'u': case 'o': case 'x': case 'X':
        conv.kind = PrintfConversion::kUnsigned;
        break;
    case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': case 'a': case 'A':
        conv.kind = PrintfConversion::kFloating;
        break;
    case 'c': case 'C':
        conv.kind = PrintfConversion::kCharacter;
        conv.wide = c == 'C' || longSeen;
        break;
    case 's': case 'S':
        conv.kind = PrintfConversion::kText;
        conv.wide = c == 'S' || longSeen;
        break;
    case 'p':
        conv.kind = PrintfConversion::kPointer;
        break;
    case 'n':
        conv.kind = PrintfConversion::kCount;
        break;
    default:
        return false;
    }
    conv.length = size_t(p + 1 - text);
    return true;
}
