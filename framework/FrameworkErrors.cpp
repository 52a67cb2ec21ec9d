#include "framework/FrameworkErrors.h"

#include "foundation/Exception.h"
#include "foundation/Logger.h"
#include "framework/Application.h"
#include "framework/MessageBox.h"

#include <exception>

namespace {

ExceptionReporter reporter = &showExceptionReport;

String describeCurrentException()
{
    try {
        throw;
    } catch (const Exception& e) {
        return String::fromFormat("%s (%08X)", e.message ? e.message : "", unsigned(e.code));
    } catch (const FrameworkException& e) {
        return e.reason;
    } catch (const std::exception& e) {
        return String(e.what());
    } catch (...) {
        return String("unknown exception");
    }
}

// Inside a catch block: the description, written to the log first.
String logged(const char* where)
{
    const String description = describeCurrentException();
    currentLogger()->error(0, "%s: %s", where ? where : "", description.c_str());
    return description;
}

} // namespace

void throwMemoryException()
{
    throw FrameworkMemoryException();
}

void showExceptionReport(const char*, const String& description)
{
    const CApplication* app = CApplication::current();
    HWND owner = app && IsWindow(app->mainWindow) ? app->mainWindow : nullptr;
    showMessageBox(owner, "An internal error occurred:\n" + description,
                   String(), MB_OK | MB_ICONERROR);
}

ExceptionReporter setExceptionReporter(ExceptionReporter r)
{
    ExceptionReporter previous = reporter;
    reporter = r ? r : &showExceptionReport;
    return previous;
}

void logCurrentException(const char* where)
{
    try {
        logged(where);
    } catch (...) {
    }
}

void reportCurrentException(const char* where)
{
    // The reporter runs inside a window procedure: nothing may escape it.
    try {
        reporter(where ? where : "", logged(where));
    } catch (...) {
    }
}
