#include "foundation/String.h"

#include <windows.h>
#include <oleauto.h>

#include <algorithm>
#include <climits>
#include <clocale>
#include <cstdio>
#include <cstring>

#include "foundation/Exception.h"
#include "foundation/NumberText.h"
#include "foundation/PrintfConversion.h"

namespace {

// The longest text formatting produces; longer ones throw. Kept from the
// doubling buffer scheme older callers were written against (1023 << 9).
const size_t kMaxFormatted = 523776;

template <typename T>
void appendPiece(std::string& out, const char* conv, T value)
{
    char buffer[512];
    int n = std::snprintf(buffer, sizeof buffer, conv, value);
    if (n < 0)
        return; // e.g. a wide character with no ANSI form
    if (size_t(n) < sizeof buffer) {
        out.append(buffer, size_t(n));
        return;
    }
    if (size_t(n) > kMaxFormatted)
        throw Exception(kOverflowException);
    const size_t start = out.size();
    out.resize(start + size_t(n) + 1);
    std::snprintf(&out[start], size_t(n) + 1, conv, value);
    out.resize(start + size_t(n));
}

// The runtime writes the locale's radix point; number text is always in the
// C locale's form.
void fixRadixPoint(std::string& out, size_t from)
{
    const lconv* conv = std::localeconv();
    const char* radix = conv ? conv->decimal_point : nullptr;
    if (!radix || !*radix || std::strcmp(radix, ".") == 0)
        return;
    const size_t at = out.find(radix, from);
    if (at != std::string::npos)
        out.replace(at, std::strlen(radix), ".");
}

// strtol with base 16, saturating at the int range.
int hexToInt(const char* p)
{
    bool negative = false;
    p = skipSpaceAndSign(p, negative);
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && hexDigitValue(p[2]) >= 0)
        p += 2;
    long long v = 0;
    for (int d; (d = hexDigitValue(*p)) >= 0; ++p) {
        if (v <= (long long)INT_MAX + 1)
            v = v * 16 + d;
    }
    if (negative)
        return v > (long long)INT_MAX + 1 ? INT_MIN : int(-v);
    return v > INT_MAX ? INT_MAX : int(v);
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

char asciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

} // namespace

std::string formatV(const char* format, va_list args)
{
    std::string out;
    if (!format)
        return out;
    va_list ap;
    va_copy(ap, args);
    try {
        const char* p = format;
        while (*p) {
            if (*p != '%') {
                const char* q = std::strchr(p, '%');
                const size_t n = q ? size_t(q - p) : std::strlen(p);
                out.append(p, n);
                p += n;
            } else if (p[1] == '%') {
                out += '%';
                p += 2;
            } else {
                PrintfConversion conv;
                if (!parsePrintfConversion(p + 1, conv)) {
                    out += *p++;
                    continue;
                }
                p += 1 + conv.length;
                int width = conv.width;
                int precision = conv.precision;
                if (width == PrintfConversion::kStar) {
                    width = va_arg(ap, int);
                    if (width < 0) {
                        conv.flags += '-';
                        width = width == INT_MIN ? INT_MAX : -width;
                    }
                }
                if (precision == PrintfConversion::kStar) {
                    precision = va_arg(ap, int);
                    if (precision < 0)
                        precision = -1;
                }
                // A width, or a precision that gives digits, of more than the
                // limit can only make a text that is too long.
                if (width > int(kMaxFormatted))
                    throw Exception(kOverflowException);
                if (precision > int(kMaxFormatted)) {
                    const bool trimmed = (conv.conversion == 'g' || conv.conversion == 'G')
                                         && conv.flags.find('#') == std::string::npos;
                    if (conv.kind == PrintfConversion::kSigned || conv.kind == PrintfConversion::kUnsigned
                        || (conv.kind == PrintfConversion::kFloating && !trimmed))
                        throw Exception(kOverflowException);
                    precision = int(kMaxFormatted);
                }
                const std::string piece = conv.text(width, precision);
                const size_t start = out.size();
                switch (conv.kind) {
                case PrintfConversion::kSigned:
                    if (conv.size == PrintfConversion::kLongLong)
                        appendPiece(out, piece.c_str(), va_arg(ap, long long));
                    else
                        appendPiece(out, piece.c_str(), va_arg(ap, int));
                    break;
                case PrintfConversion::kUnsigned:
                    if (conv.size == PrintfConversion::kLongLong)
                        appendPiece(out, piece.c_str(), va_arg(ap, unsigned long long));
                    else
                        appendPiece(out, piece.c_str(), va_arg(ap, unsigned));
                    break;
                case PrintfConversion::kFloating:
                    if (conv.size == PrintfConversion::kLongDouble)
                        appendPiece(out, piece.c_str(), va_arg(ap, long double));
                    else
                        appendPiece(out, piece.c_str(), va_arg(ap, double));
                    fixRadixPoint(out, start);
                    break;
                case PrintfConversion::kCharacter:
                    appendPiece(out, piece.c_str(), va_arg(ap, int));
                    break;
                case PrintfConversion::kText:
                    if (conv.wide) {
                        const wchar_t* w = va_arg(ap, const wchar_t*);
                        appendPiece(out, piece.c_str(), w ? w : L"(null)");
                    } else {
                        const char* s = va_arg(ap, const char*);
                        appendPiece(out, piece.c_str(), s ? s : "(null)");
                    }
                    break;
                case PrintfConversion::kPointer:
                    appendPiece(out, piece.c_str(), va_arg(ap, void*));
                    break;
                case PrintfConversion::kCount:
                    // Never written: a format must not be able to store.
                    (void)va_arg(ap, void*);
                    break;
                }
            }
            if (out.size() > kMaxFormatted)
                throw Exception(kOverflowException);
        }
    } catch (...) {
        va_end(ap);
        throw;
    }
    va_end(ap);
    return out;
}

String::String(const wchar_t* s)
{
    if (!s)
        return;
    // A text longer than this is taken as garbage rather than converted.
    const size_t kMaxWide = 1000000;
    size_t n = 0;
    while (n <= kMaxWide && s[n])
        ++n;
    if (n == 0 || n > kMaxWide)
        return;
    const int bytes = WideCharToMultiByte(CP_ACP, 0, s, int(n), nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return;
    resize(size_t(bytes));
    WideCharToMultiByte(CP_ACP, 0, s, int(n), &(*this)[0], bytes, nullptr, nullptr);
}

wchar_t* String::toBstr() const
{
    BSTR result = nullptr;
    const int n = MultiByteToWideChar(CP_ACP, 0, c_str(), -1, nullptr, 0);
    if (n > 0) {
        std::vector<wchar_t> wide(static_cast<size_t>(n));
        if (MultiByteToWideChar(CP_ACP, 0, c_str(), -1, wide.data(), n) > 0)
            result = SysAllocString(wide.data());
    } else {
        result = SysAllocString(L"");
    }
    if (!result)
        throw Exception(kOutOfMemoryException);
    return result;
}

int String::toInt() const
{
    const char* s = c_str();
    if (s[0] == '#')
        return hexToInt(s + 1);
    if (s[0] == '0' && s[1] == 'x')
        return hexToInt(s + 2);
    long v = 0;
    parseLong(s, v);
    return int(v);
}

double String::toDouble() const
{
    double v = 0.0;
    return parseDouble(c_str(), v) ? v : 0.0;
}

char String::charAt(int index) const
{
    long long i = index;
    if (i < 0)
        i += (long long)size();
    if (i < 0 || i >= (long long)size())
        return 0;
    return (*this)[size_t(i)];
}

String String::fromFormat(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    String result;
    try {
        result = formatV(format, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
    return result;
}

String& String::format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    try {
        std::string text = formatV(format, args);
        std::string::operator=(std::move(text));
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
    return *this;
}

String& String::appendFormat(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    try {
        append(formatV(format, args));
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
    return *this;
}

String String::left(int n) const
{
    if (n < 1)
        return String();
    if (size_t(n) >= size())
        return *this;
    return String(substr(0, size_t(n)));
}

String String::right(int n) const
{
    if (n < 1)
        return String();
    if (size_t(n) >= size())
        return *this;
    return String(substr(size() - size_t(n)));
}

String String::midToEnd(int pos) const
{
    if (pos < 1)
        return *this;
    if (size_t(pos) >= size())
        return String();
    return String(substr(size_t(pos)));
}

String String::mid(int pos, int n) const
{
    long long p = pos;
    long long count = n;
    if (p < 0) {
        count += p;
        p = 0;
        if (count < 1)
            return String();
    }
    if (p < (long long)size() && count > 0)
        return String(substr(size_t(p), size_t(std::min<long long>(count, (long long)size() - p))));
    return String();
}

String String::operator+(const char* s) const
{
    String r(*this);
    if (s)
        r.append(s);
    return r;
}

String String::operator+(char c) const
{
    String r(*this);
    r.push_back(c);
    return r;
}

String String::operator+(const String& s) const
{
    String r(*this);
    r.append(s);
    return r;
}

String operator+(const char* s, const String& text)
{
    String r(s);
    r.append(text);
    return r;
}

bool String::fieldStart(size_t* start, const char* sep, int index) const
{
    *start = 0;
    const size_t sl = sep ? std::strlen(sep) : 0;
    if (sl == 0)
        return true;
    if (index < 0) {
        long long occurrences = 0;
        for (size_t pos = find(sep, 0, sl); pos != npos; pos = find(sep, pos + sl, sl))
            ++occurrences;
        const long long adjusted = index + occurrences + 1;
        if (adjusted < 0)
            return false;
        index = int(adjusted);
    }
    size_t pos = 0;
    for (int i = 0; i < index; ++i) {
        const size_t hit = find(sep, pos, sl);
        if (hit == npos)
            return false;
        pos = hit + sl;
    }
    *start = pos;
    return true;
}

bool String::fieldSpan(size_t* start, size_t* end, const char* sep, int index) const
{
    *end = 0;
    if (!fieldStart(start, sep, index))
        return false;
    const size_t sl = sep ? std::strlen(sep) : 0;
    if (sl == 0) {
        *start = 0;
        return true;
    }
    const size_t hit = find(sep, *start, sl);
    *end = hit == npos ? size() : hit;
    return true;
}

String String::field(const char* sep, int index) const
{
    size_t start = 0;
    size_t end = 0;
    if (!fieldSpan(&start, &end, sep, index))
        return String();
    return String(substr(start, end - start));
}

String String::takeField(const char* sep, int index)
{
    size_t start = 0;
    size_t end = 0;
    if (!fieldSpan(&start, &end, sep, index))
        return String();
    String result(substr(start, end - start));
    const size_t sl = sep ? std::strlen(sep) : 0;
    const size_t count = std::min(result.size() + sl, size() - start);
    std::string::erase(start, count);
    return result;
}

size_t String::split(std::vector<String>& out, const char* sep) const
{
    const size_t sl = sep ? std::strlen(sep) : 0;
    if (sl == 0) {
        // No separator to find: the whole text is the one field.
        out.push_back(*this);
        return out.size();
    }
    size_t pos = 0;
    for (size_t hit = find(sep, 0, sl); hit != npos; hit = find(sep, pos, sl)) {
        out.push_back(String(substr(pos, hit - pos)));
        pos = hit + sl;
    }
    out.push_back(String(substr(pos)));
    return out.size();
}

size_t String::splitAtChar(std::vector<String>& out, char c) const
{
    const char sep[2] = {c, 0};
    return split(out, sep);
}

String& String::trimLeft(const char* set)
{
    if (!set || !*set)
        return *this;
    const size_t p = find_first_not_of(set);
    if (p == npos)
        clear();
    else
        std::string::erase(0, p);
    return *this;
}

String& String::trimRight(const char* set)
{
    if (!set || !*set)
        return *this;
    const size_t p = find_last_not_of(set);
    if (p == npos)
        clear();
    else
        std::string::erase(p + 1);
    return *this;
}

void String::toUpper()
{
    for (char& c : *this)
        c = asciiUpper(c);
}

void String::toLower()
{
    for (char& c : *this)
        c = asciiLower(c);
}

int String::replace(std::string from, std::string to, size_t start)
{
    // Searching again from the start of the replacement would never end
    // for these.
    if (from.empty() || to.find(from) != npos)
        return 0;
    int count = 0;
    for (size_t pos = find(from, start); pos != npos; pos = find(from, pos)) {
        std::string::replace(pos, from.size(), to);
        ++count;
    }
    return count;
}

int String::replaceAll(std::string from, std::string to, size_t start)
{
    if (from.empty())
        return 0;
    int count = 0;
    for (size_t pos = find(from, start); pos != npos; pos = find(from, pos + to.size())) {
        std::string::replace(pos, from.size(), to);
        ++count;
    }
    return count;
}

String& String::erase(size_t pos, size_t n)
{
    std::string::erase(pos, n);
    return *this;
}

String& String::removeChar(char c)
{
    std::string::erase(std::remove(begin(), end(), c), end());
    return *this;
}

String& String::removeChars(const std::string& set)
{
    if (set.empty())
        return *this;
    std::string::erase(std::remove_if(begin(), end(),
                                      [&set](char c) { return set.find(c) != npos; }),
                       end());
    return *this;
}

int String::copyTo(char* buffer, int n) const
{
    if (n < 1)
        return 0;
    const size_t count = std::min(size_t(n), size());
    if (count)
        std::memcpy(buffer, data(), count);
    return int(count);
}

int String::copyTo(char* buffer, int pos, int n) const
{
    long long p = pos;
    long long count = n;
    if (p < 0) {
        count += p;
        p = 0;
    }
    if (p >= (long long)size())
        return 0;
    count = std::min(count, (long long)size() - p);
    if (count < 1)
        return 0;
    std::memcpy(buffer, data() + p, size_t(count));
    return int(count);
}

int String::compare(const char* s) const
{
    const int r = std::strcmp(c_str(), s ? s : "");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int String::compareNoCase(const String& other) const
{
    const unsigned char* a = reinterpret_cast<const unsigned char*>(c_str());
    const unsigned char* b = reinterpret_cast<const unsigned char*>(other.c_str());
    for (;; ++a, ++b) {
        const int ca = (unsigned char)asciiLower(char(*a));
        const int cb = (unsigned char)asciiLower(char(*b));
        if (ca != cb)
            return ca - cb;
        if (ca == 0)
            return 0;
    }
}

int String::compareN(const char* s, int n) const
{
    if (!s)
        s = "";
    if (n < 1)
        n = int(std::strlen(s));
    return std::strncmp(c_str(), s, size_t(n));
}

bool String::startsWith(const String& prefix) const
{
    if (prefix.empty())
        return true;
    if (empty() || prefix.size() > size())
        return false;
    return std::string::compare(0, prefix.size(), prefix) == 0;
}

int String::overlap(const String& other) const
{
    const size_t longest = std::min(size(), other.size());
    for (size_t n = longest; n >= 1; --n) {
        if (std::string::compare(size() - n, n, other, 0, n) == 0)
            return int(size() - n);
    }
    return -1;
}
