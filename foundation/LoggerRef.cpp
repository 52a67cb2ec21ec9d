#include "foundation/LoggerRef.h"

#include <cstdarg>

LoggerRef::LoggerRef() : logger(nullptr)
{
}

LoggerRef::LoggerRef(Logger* logger_) : logger(logger_)
{
}

LoggerRef::~LoggerRef()
{
    logger = nullptr;
}

void LoggerRef::event(const char* format, ...)
{
    if (!logger || !logger->eventsEnabled)
        return;
    va_list args;
    va_start(args, format);
    logger->eventV(format, args);
    va_end(args);
}

void LoggerRef::error(unsigned code, const char* format, ...)
{
    if (!logger)
        return;
    va_list args;
    va_start(args, format);
    logger->errorV(code, format, args);
    va_end(args);
}

void LoggerRef::errorText(unsigned code, const char* text)
{
    if (logger)
        logger->errorText(code, text);
}

void LoggerRef::exception(const Exception& e)
{
    if (logger)
        logger->exception(e);
}

void LoggerRef::debug(const char* text)
{
    if (logger && logger->debugEnabled)
        logger->debug(text);
}
