#pragma once

#include <cstddef>
#include <string>

// One printf conversion ("%-08.3lf" and the like), as read from a format.
struct PrintfConversion
{
    enum Size { kDefault, kChar, kShort, kLong, kLongLong, kLongDouble };
    enum Kind { kSigned, kUnsigned, kFloating, kCharacter, kText, kPointer, kCount };

    std::string flags;   // any of "-+ #0"
    int width = -1;      // -1: none; kStar: taken from the arguments
    int precision = -1;  // -1: none; kStar: taken from the arguments
    Size size = kDefault;
    bool wide = false;   // %lc, %ls, %C, %S
    char conversion = 0;
    Kind kind = kSigned;
    size_t length = 0;   // characters after the '%'

    static const int kStar = -2;

    // The conversion text with explicit width and precision (-1 leaves them
    // out) and a length modifier every runtime reads the same way.
    std::string text(int width_, int precision_) const;
};

// Reads the conversion that starts just after a '%'. False for text that is
// not a conversion the library formats (the caller then copies it literally).
bool parsePrintfConversion(const char* text, PrintfConversion& conv);
