#pragma once

#include <cstdint>

enum : uint32_t {
    kValueException = 0x5009005,
    kRuntimeException = 0x5009009,
    kParseException = 0x500900a,
    kUserException = 0x500900e,
    kOverflowException = 0x5009010,
    kResourceException = 0x5009012,
    kFileCreateException = 0x5009201,
    kFileOpenException = 0x5009202,
    kFileReadException = 0x5009203,
    kFileWriteException = 0x5009204,
    kFilePositionException = 0x5009206,
    kStreamException = 0x5009600,
    // The COM out-of-memory result, raised when a BSTR cannot be allocated.
    kOutOfMemoryException = 0x8007000E,
};

// The fixed message paired with a code ("Exception" for an unknown code);
// the text is static and never freed.
const char* exceptionMessageFor(uint32_t code);

// The one exception type of the system, thrown by value.
class Exception
{
public:
    // The message is the fixed text paired with the code.
    explicit Exception(uint32_t code);
    // message must be a static text; it is kept, never copied or freed.
    Exception(uint32_t code, const char* message);
    Exception(const Exception& other) = default;
    Exception& operator=(const Exception& other) = default;
    virtual ~Exception();

    uint32_t code;
    const char* message;
};
