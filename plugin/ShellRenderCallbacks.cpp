#include "plugin/ShellRenderCallbacks.h"

#include "foundation/Logger.h"
#include "plugin/PluginRecords.h"

namespace {

// The callbacks answer with one byte and only that byte counts. Read as a
// byte, not as a C++ bool: a host answering 2 or 0xFF for "go on" would
// otherwise hand the engine a bool that is neither true nor false.
typedef uint8_t(__cdecl* ProgressByteProc)(void* context, float fraction);
typedef uint8_t(__cdecl* AbortByteProc)(void* context);

} // namespace

bool ShellRenderCallbacks::progress(float fraction)
{
    if (!request_.progress)
        return true;
    const ProgressByteProc proc =
        reinterpret_cast<ProgressByteProc>(reinterpret_cast<void*>(request_.progress));
    return proc(request_.callbackContext, fraction) != 0;
}

bool ShellRenderCallbacks::isCancelled()
{
    if (!request_.abortRequested)
        return false;
    const AbortByteProc proc =
        reinterpret_cast<AbortByteProc>(reinterpret_cast<void*>(request_.abortRequested));
    return proc(request_.callbackContext) != 0;
}

void ShellRenderCallbacks::finished()
{
    if (request_.notify)
        request_.notify(request_.callbackContext);
}

Logger* ShellRenderCallbacks::logger()
{
    return currentLogger();
}
