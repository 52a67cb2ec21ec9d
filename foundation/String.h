#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>
#include <vector>

// The formatted text of a printf format (C library conversions, numbers in
// the C locale's form). Throws Exception kOverflowException when the text
// would need more than 523,776 characters.
std::string formatV(const char* format, va_list args);

// The system's text value: a byte string in the ANSI code page with text
// helpers. Positions and counts are byte counts.
class String : public std::string
{
public:
    using std::string::basic_string;
    using std::string::replace;
    using std::string::erase;
    using std::string::compare;

    String() {}
    String(const char* s) : std::string(s ? s : "") {}
    String(const std::string& s) : std::string(s) {}
    String(std::string&& s) : std::string(std::move(s)) {}
    String(const String& other) = default;
    String(String&& other) = default;
    // Converted to the ANSI code page; null or longer than 1,000,000
    // characters gives the empty text.
    String(const wchar_t* s);
    virtual ~String() {}

    String& operator=(const String& other) = default;
    String& operator=(String&& other) = default;
    String& operator=(const std::string& s) { std::string::operator=(s); return *this; }
    String& operator=(const char* s) { std::string::operator=(s ? s : ""); return *this; }
    String& operator=(char c) { std::string::operator=(c); return *this; }

    // A BSTR (free it with SysFreeString) of the text converted to UTF-16;
    // throws Exception kOutOfMemoryException when it cannot be allocated.
    wchar_t* toBstr() const;

    // "#ff" and "0xff" are read as hexadecimal, anything else as a decimal
    // integer; no digits give 0; out-of-range values saturate.
    int toInt() const;
    // The leading decimal number in C-locale form; 0 when there is none.
    double toDouble() const;
    // Byte at index; a negative index counts from the end; 0 outside.
    char charAt(int index) const;

    static String fromFormat(const char* format, ...)
        __attribute__((format(gnu_printf, 1, 2)));
    String& format(const char* format, ...)
        __attribute__((format(gnu_printf, 2, 3)));
    String& appendFormat(const char* format, ...)
        __attribute__((format(gnu_printf, 2, 3)));

    String left(int n) const;
    String right(int n) const;
    String midToEnd(int pos) const;
    String mid(int pos, int n) const;
    String operator+(const char* s) const;
    String operator+(char c) const;
    String operator+(const String& s) const;

    // Fields are the texts between occurrences of sep (found left to right
    // without overlap); a negative index counts from the end.
    String field(const char* sep, int index) const;
    bool fieldStart(size_t* start, const char* sep, int index) const;
    bool fieldSpan(size_t* start, size_t* end, const char* sep, int index) const;
    String takeField(const char* sep, int index);
    // Appends every field to out (not cleared) and returns out's size. An
    // empty separator appends the whole text as one field.
    size_t split(std::vector<String>& out, const char* sep) const;
    size_t splitAtChar(std::vector<String>& out, char c) const;

    String& trimLeft(const char* set);
    String& trimRight(const char* set);
    void toUpper();
    void toLower();
    // Both return the number of replacements; an empty from changes nothing,
    // and so does a to containing from for replace (it would never end).
    int replace(std::string from, std::string to, size_t start = 0);
    int replaceAll(std::string from, std::string to, size_t start = 0);
    String& erase(size_t pos = 0, size_t n = npos);
    String& removeChar(char c);
    String& removeChars(const std::string& set);

    int copyTo(char* buffer, int n) const;
    int copyTo(char* buffer, int pos, int n) const;
    int compare(const char* s) const;
    int compareNoCase(const String& other) const;
    int compareN(const char* s, int n) const;
    bool startsWith(const String& prefix) const;
    int overlap(const String& other) const;
};

String operator+(const char* s, const String& text);
