#pragma once

#include <cstdarg>

class Exception;

// Turns reports into one text line each and hands the line to write().
// Line layouts: 0 "<time> <kind>: <message>", 1 "<kind>: <message>",
// 2 "<message>". Kinds: "event", "error %08X", "exception %08X", "debug".
// Messages and lines longer than kLineSize - 1 characters are cut.
class Logger
{
public:
    enum { kLineSize = 2048, kKindSize = 32 };

    Logger(unsigned lineFormat, bool eventsEnabled, bool debugEnabled);
    virtual ~Logger();

    // Receives one finished line without a line terminator.
    virtual void write(const char* line) = 0;

    void event(const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
    void eventV(const char* format, va_list args);
    void eventText(const char* text);
    // Errors and exceptions are written whatever the switches say.
    void error(unsigned code, const char* format, ...) __attribute__((format(gnu_printf, 3, 4)));
    void errorV(unsigned code, const char* format, va_list args);
    void errorText(unsigned code, const char* text);
    void exception(const Exception& e);
    void debug(const char* text);

    // Composes the line (kLineSize bytes) for the kind and message.
    void formatLine(const char* kind, const char* message, char* line) const;

    bool eventsEnabled;
    bool debugEnabled;
    unsigned lineFormat;

private:
    void writeLine(const char* kind, const char* message);
};

// The process-wide current logger: the null logger from start-up on, never
// null.
Logger* currentLogger();
void installNullLogger();
