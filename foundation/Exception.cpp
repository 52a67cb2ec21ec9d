#include "foundation/Exception.h"

const char* exceptionMessageFor(uint32_t code)
{
    switch (code) {
    case kValueException: return "Value Exception";
    case kRuntimeException: return "Runtime Exception";
    case kParseException: return "Parse Exception";
    case kUserException: return "User Exception";
    case kOverflowException: return "Overflow Exception";
    case kResourceException: return "Resource Exception";
    case kFileCreateException: return "File Create Exception";
    case kFileOpenException: return "File Open Exception";
    case kFileReadException: return "File Read Exception";
    case kFileWriteException: return "File Write Exception";
    case kFilePositionException: return "File Position Exception";
    case kStreamException: return "Stream Exception";
    case kOutOfMemoryException: return "Out Of Memory Exception";
    default: return "Exception";
    }
}

Exception::Exception(uint32_t code_) : code(code_), message(exceptionMessageFor(code_)) {}

Exception::Exception(uint32_t code_, const char* message_)
    : code(code_), message(message_ ? message_ : exceptionMessageFor(code_))
{
}

Exception::~Exception() {}
