#include "engine/DefaultRenderCallbacks.h"

#include "foundation/Logger.h"

DefaultRenderCallbacks::DefaultRenderCallbacks(bool* flag)
    : cancelFlag(flag)
{
    if (cancelFlag)
        *cancelFlag = false;
}

DefaultRenderCallbacks::~DefaultRenderCallbacks() {}

void DefaultRenderCallbacks::requestPreview()
{
    finished();
}

bool DefaultRenderCallbacks::progress(float)
{
    return !isCancelled();
}

bool DefaultRenderCallbacks::isCancelled()
{
    return cancelFlag && *cancelFlag;
}

void DefaultRenderCallbacks::finished() {}

void DefaultRenderCallbacks::reserved() {}

void DefaultRenderCallbacks::cancel()
{
    if (cancelFlag)
        *cancelFlag = true;
}

void DefaultRenderCallbacks::reset()
{
    if (cancelFlag)
        *cancelFlag = false;
}

Logger* DefaultRenderCallbacks::logger()
{
    return currentLogger();
}
