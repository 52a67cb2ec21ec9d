#pragma once

#include <cstdint>

// The two procedures a Photoshop-compatible filter host offers for long
// renders, as the filter entry finds them in the host's record. They use the
// plain C calling convention of that interface; the abort test answers with a
// one-byte boolean.
typedef void (*HostProgressProc)(int32_t done, int32_t total);
typedef uint8_t (*HostAbortProc)();

struct HostProcs
{
    HostAbortProc abortProc = nullptr;       // may be null: only our own flag cancels
    HostProgressProc progressProc = nullptr; // may be null: progress is not reported
};
