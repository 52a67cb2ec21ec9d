#pragma once

#include "foundation/Logger.h"

// A nullable handle to a logger: every call does nothing while the pointer
// is null, and otherwise writes the line the Logger call of the same name
// writes.
class LoggerRef
{
public:
    LoggerRef();
    explicit LoggerRef(Logger* logger);
    virtual ~LoggerRef();

    void event(const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
    void error(unsigned code, const char* format, ...) __attribute__((format(gnu_printf, 3, 4)));
    void errorText(unsigned code, const char* text);
    void exception(const Exception& e);
    void debug(const char* text);

    Logger* logger;
};
