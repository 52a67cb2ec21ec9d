#pragma once

#include <cstdint>

#include "engine/DefaultRenderCallbacks.h"
#include "engine/HostProcs.h"

// Render callbacks of a filter-host render: progress goes to the host in
// thousandths and the host's abort answer is latched for the rest of the render.
class HostRenderCallbacks : public DefaultRenderCallbacks
{
public:
    // resultCode: the 16-bit result field of the plug-in's filter data block,
    // set to 1 when the host asks to abort; may be null.
    HostRenderCallbacks(const HostProcs& procs, int16_t* resultCode);

    bool progress(float fraction) override;
    bool isCancelled() override;

    bool ownFlag;
    HostProcs procs;
    int16_t* resultCode; // not owned
};
