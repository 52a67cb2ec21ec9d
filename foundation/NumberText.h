#pragma once

#include "foundation/String.h"

// Number text in the C locale's form ("0.5", never "0,5") whatever locale the
// process has set; nothing here calls setlocale.

// Formats one number with a printf format holding exactly one conversion
// (d i u o x X c for integers, f F e E g G a A for floating point; literal
// text and "%%" around it are kept). Integer conversions take the value
// truncated toward zero with saturation. Any other format throws
// Exception kValueException.
String formatNumber(const char* printfFormat, double value);

// Reads the decimal number at the start of text (leading white space, sign,
// digits, optional fraction and exponent, or "inf"/"infinity"); text after it
// is ignored. False, with value unchanged, when there is no number or it is
// NaN. Magnitudes beyond the double range give +-DBL_MAX. When end is given
// it receives the position just after the number (text itself on failure).
bool parseDouble(const char* text, double& value, const char** end = nullptr);

// Reads the decimal integer at the start of text (leading white space,
// optional sign, digits), saturating at the long range. False, with value
// unchanged, when there are no digits.
bool parseLong(const char* text, long& value, const char** end = nullptr);

// Character tests and sign handling shared by the number readers; they follow
// the C locale, not the process one.
bool isCSpace(char c);

// The value of a digit in bases up to 16 (0-9, a-f, A-F), or -1.
int hexDigitValue(char c);

// Skips leading white space and one optional sign, telling whether it was "-".
const char* skipSpaceAndSign(const char* p, bool& negative);
