#include "engine/HostRenderCallbacks.h"

#include "foundation/Numeric.h"

HostRenderCallbacks::HostRenderCallbacks(const HostProcs& hostProcs, int16_t* result)
    : DefaultRenderCallbacks(&ownFlag), ownFlag(false), procs(hostProcs), resultCode(result)
{
}

bool HostRenderCallbacks::progress(float fraction)
{
    // The host counts in thousandths; truncation toward zero means 0.9999 is
    // still reported as 999 of 1000.
    if (procs.progressProc)
        procs.progressProc(truncToInt(double(fraction) * 1000.0), 1000);
    return !isCancelled();
}

bool HostRenderCallbacks::isCancelled()
{
    // Once the host has said abort, stay aborted for the rest of the render even
    // if it later answers otherwise.
    if (procs.abortProc && procs.abortProc()) {
        if (resultCode)
            *resultCode = 1;
        ownFlag = true;
        return true;
    }
    return ownFlag;
}
