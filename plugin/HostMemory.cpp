#include "plugin/HostMemory.h"

#include <windows.h>

#include <cstdint>

namespace {

const DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                        PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
const DWORD kWritable = PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;

size_t accessibleBytes(const void* p, size_t count, DWORD access)
{
    const char* start = static_cast<const char*>(p);
    if (!start || uintptr_t(start) + count < uintptr_t(start))
        return 0;
    const char* at = start;
    const char* end = start + count;
    while (at < end) {
        MEMORY_BASIC_INFORMATION info;
        if (!VirtualQuery(at, &info, sizeof info) || info.State != MEM_COMMIT ||
            (info.Protect & (PAGE_NOACCESS | PAGE_GUARD)) || !(info.Protect & access))
            break;
        at = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
    }
    return at < end ? size_t(at - start) : count;
}

} // namespace

bool hostMemoryReadable(const void* p, size_t count)
{
    return accessibleBytes(p, count, kReadable) == count;
}

bool hostMemoryWritable(const void* p, size_t count)
{
    return accessibleBytes(p, count, kWritable) == count;
}

size_t hostReadableBytes(const void* p, size_t count)
{
    return accessibleBytes(p, count, kReadable);
}

size_t hostWritableBytes(const void* p, size_t count)
{
    return accessibleBytes(p, count, kWritable);
}
