#include "plugin/ShellRenderCallbacks.h"

#include "foundation/Logger.h"
#include "plugin/PluginRecords.h"

bool ShellRenderCallbacks::progress(float fraction)
{
    if (!request_.progress)
        return true;
    return request_.progress(request_.callbackContext, fraction);
}

bool ShellRenderCallbacks::isCancelled()
{
    if (!request_.abortRequested)
        return false;
    return request_.abortRequested(request_.callbackContext);
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
