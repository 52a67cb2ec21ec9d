#pragma once

#include "framework/FrameworkErrors.h"

// Makes one allocation of the calling thread fail with std::bad_alloc while
// it lives: the one `countdown` allocations from now (0: the next one).
// Allocations through the global operator new only (the containers, new,
// strings); what malloc serves directly is not counted.

namespace shelltest {

class AllocationFault
{
public:
    explicit AllocationFault(long countdown);
    ~AllocationFault();
    AllocationFault(const AllocationFault&) = delete;
    AllocationFault& operator=(const AllocationFault&) = delete;

    // Whether the chosen allocation happened (and failed).
    bool struck() const;
};

// Blocks from the global operator new not yet given back, for leak checks.
long liveAllocations();

// Runs `run` with its first allocation failing; true when that raised the
// framework's memory exception.
template <class Run>
bool raisesMemoryExceptionWithoutMemory(Run run)
{
    AllocationFault fault(0);
    try {
        run();
    } catch (const FrameworkMemoryException&) {
        return fault.struck();
    }
    return false;
}

} // namespace shelltest
