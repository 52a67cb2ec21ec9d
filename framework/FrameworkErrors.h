#pragma once

#include <new>

#include "foundation/String.h"

// The framework's own exception: a window, dialog or resource that could not
// be made. Filter hosts' entry points catch it by type.
class FrameworkException
{
public:
    explicit FrameworkException(const char* reason) : reason(reason ? reason : "") {}
    virtual ~FrameworkException() {}

    String reason;
};

// The framework's memory exception: a run that cannot get the memory it
// needs raises it. It is a bad_alloc, so every handler of exhausted memory
// treats it as one.
class FrameworkMemoryException : public std::bad_alloc
{
};

// Raises FrameworkMemoryException.
[[noreturn]] void throwMemoryException();

// Receives every exception that a window or dialog procedure caught: where it
// was caught and a readable description of what was thrown.
typedef void (*ExceptionReporter)(const char* where, const String& description);

// Call only inside a catch block: describes the exception being handled and
// logs it, showing nothing (for callbacks that must not run a message loop).
// Never throws.
void logCurrentException(const char* where);
// Call only inside a catch block: describes the exception being handled,
// logs it and hands it to the reporter (by default a message box through the
// message-box seam). Never throws.
void reportCurrentException(const char* where);
// The default reporter: a message box over the application's main window
// with the description.
void showExceptionReport(const char* where, const String& description);
// Installs a reporter; null restores the default. Returns the previous one.
ExceptionReporter setExceptionReporter(ExceptionReporter reporter);
