#include "foundation/Logger.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/Exception.h"
#include "foundation/NullLogger.h"
#include "foundation/String.h"
#include "foundation/Timestamp.h"

namespace {

// Copies text into buffer (size bytes), cut to fit, always terminated.
void copyCut(char* buffer, size_t size, const char* text, size_t length)
{
    if (length > size - 1)
        length = size - 1;
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
}

// printf formatting with numbers in the C locale's form whatever locale the
// host has set; the text is cut to the buffer.
void formatMessage(char* buffer, size_t size, const char* format, va_list args)
{
    if (!format) {
        buffer[0] = '\0';
        return;
    }
    va_list copy;
    va_copy(copy, args);
    try {
        std::string text = formatV(format, copy);
        copyCut(buffer, size, text.data(), text.size());
    } catch (...) {
        // Text too long even for the formatter: cut it through the runtime.
        int n = std::vsnprintf(buffer, size, format, args);
        if (n < 0)
            buffer[0] = '\0';
        buffer[size - 1] = '\0';
    }
    va_end(copy);
}

Logger* gCurrentLogger = nullptr;

NullLogger& globalNullLogger()
{
    static NullLogger instance;
    return instance;
}

struct NullLoggerInstaller {
    NullLoggerInstaller() { installNullLogger(); }
} gNullLoggerInstaller;

} // namespace

Logger::Logger(unsigned lineFormat_, bool eventsEnabled_, bool debugEnabled_)
    : eventsEnabled(eventsEnabled_), debugEnabled(debugEnabled_), lineFormat(lineFormat_)
{
}

Logger::~Logger()
{
}

void Logger::formatLine(const char* kind, const char* message, char* line) const
{
    if (!kind)
        kind = "";
    if (!message)
        message = "";
    int n;
    switch (lineFormat) {
    case 0: {
        Timestamp now = Timestamp::now();
        n = std::snprintf(line, kLineSize, "%s %s: %s", now.format(Timestamp::kNoMicrosecond),
                          kind, message);
        break;
    }
    case 1:
        n = std::snprintf(line, kLineSize, "%s: %s", kind, message);
        break;
    default:
        // Layout 2, and what any unknown layout falls back to.
        n = std::snprintf(line, kLineSize, "%s", message);
        break;
    }
    if (n < 0)
        line[0] = '\0';
    line[kLineSize - 1] = '\0';
}

void Logger::writeLine(const char* kind, const char* message)
{
    char line[kLineSize];
    formatLine(kind, message, line);
    write(line);
}

void Logger::event(const char* format, ...)
{
    if (!eventsEnabled)
        return;
    va_list args;
    va_start(args, format);
    eventV(format, args);
    va_end(args);
}

void Logger::eventV(const char* format, va_list args)
{
    if (!eventsEnabled)
        return;
    char message[kLineSize];
    formatMessage(message, sizeof message, format, args);
    writeLine("event", message);
}

void Logger::eventText(const char* text)
{
    if (!eventsEnabled)
        return;
    writeLine("event", text);
}

void Logger::error(unsigned code, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    errorV(code, format, args);
    va_end(args);
}

void Logger::errorV(unsigned code, const char* format, va_list args)
{
    char message[kLineSize];
    formatMessage(message, sizeof message, format, args);
    errorText(code, message);
}

void Logger::errorText(unsigned code, const char* text)
{
    char kind[kKindSize];
    std::snprintf(kind, sizeof kind, "error %08X", code);
    writeLine(kind, text);
}

void Logger::exception(const Exception& e)
{
    char kind[kKindSize];
    std::snprintf(kind, sizeof kind, "exception %08X", static_cast<unsigned>(e.code));
    writeLine(kind, e.message);
}

void Logger::debug(const char* text)
{
    if (!debugEnabled)
        return;
    writeLine("debug", text);
}

Logger* currentLogger()
{
    if (!gCurrentLogger)
        installNullLogger();
    return gCurrentLogger;
}

void installNullLogger()
{
    gCurrentLogger = &globalNullLogger();
}
