#include "plugin/HostHandle.h"

#include <windows.h>

#include <cstring>

namespace {

const UINT kFlags = GMEM_MOVEABLE | GMEM_ZEROINIT; // 0x42
const char kTag[4] = {'O', 'T', 'O', 'F'};

uint8_t memoryError = HostMemoryOk;

void* lockedBlock(size_t size)
{
    HGLOBAL h = GlobalAlloc(kFlags, size);
    if (!h)
        return nullptr;
    void* p = GlobalLock(h);
    if (!p)
        GlobalFree(h);
    return p;
}

void freeLocked(void* p)
{
    if (!p)
        return;
    HGLOBAL h = GlobalHandle(p);
    if (!h)
        return;
    GlobalUnlock(h);
    GlobalFree(h);
}

// True when count bytes from p are committed, readable memory.
bool readable(const void* p, size_t count)
{
    const char* at = static_cast<const char*>(p);
    const char* end = at + count;
    while (at < end) {
        MEMORY_BASIC_INFORMATION info;
        if (!VirtualQuery(at, &info, sizeof info) || info.State != MEM_COMMIT ||
            (info.Protect & (PAGE_NOACCESS | PAGE_GUARD)) ||
            !(info.Protect & (PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                              PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY)))
            return false;
        at = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
    }
    return true;
}

size_t blockSize(void* data)
{
    if (!data)
        return 0;
    HGLOBAL h = GlobalHandle(data);
    return h ? GlobalSize(h) : 0;
}

} // namespace

FilterHandle newHostHandle(size_t size)
{
    HostHandleMaster* master = static_cast<HostHandleMaster*>(lockedBlock(sizeof(HostHandleMaster)));
    void* data = master ? lockedBlock(size) : nullptr;
    if (!data) {
        freeLocked(master);
        memoryError = HostMemoryAllocFailed;
        OutputDebugStringA("\nError allocating");
        return nullptr;
    }
    master->data = data;
    std::memcpy(master->tag, kTag, sizeof kTag);
    return master;
}

size_t hostHandleSize(FilterHandle handle)
{
    const size_t size = handle ? blockSize(static_cast<HostHandleMaster*>(handle)->data) : 0;
    if (!size)
        memoryError = HostMemoryNoHandle;
    return size;
}

bool resizeHostHandle(FilterHandle handle, size_t size)
{
    if (!handle) {
        memoryError = HostMemoryNoResizeHandle;
        return false;
    }
    HostHandleMaster* master = static_cast<HostHandleMaster*>(handle);
    HGLOBAL h = master->data ? GlobalHandle(master->data) : nullptr;
    if (!h) {
        memoryError = HostMemoryAllocFailed;
        return false;
    }
    GlobalUnlock(h);
    HGLOBAL resized = GlobalReAlloc(h, size, kFlags);
    // A failed reallocation leaves the old block: lock that one again.
    void* data = GlobalLock(resized ? resized : h);
    master->data = data;
    if (!resized || !data) {
        memoryError = HostMemoryAllocFailed;
        return false;
    }
    return true;
}

void disposeHostHandle(FilterHandle handle)
{
    if (!handle) {
        memoryError = HostMemoryNoHandle;
        return;
    }
    HostHandleMaster* master = static_cast<HostHandleMaster*>(handle);
    freeLocked(master->data);
    freeLocked(master);
}

uint8_t lastHostMemoryError()
{
    return memoryError;
}

void* hostHandleData(FilterHandle handle, size_t minSize)
{
    if (!handle || !readable(handle, sizeof(HostHandleMaster)))
        return nullptr;
    const HostHandleMaster* master = static_cast<const HostHandleMaster*>(handle);
    if (std::memcmp(master->tag, kTag, sizeof kTag) != 0 || !master->data ||
        !readable(master->data, minSize))
        return nullptr;
    return blockSize(master->data) >= minSize ? master->data : nullptr;
}

void* allocGlobalBlock(size_t size)
{
    return lockedBlock(size);
}

void freeGlobalBlock(void* block)
{
    freeLocked(block);
}

void setHostRect(FilterRect& rect, int left, int top, int right, int bottom)
{
    rect.top = int16_t(top);
    rect.left = int16_t(left);
    rect.bottom = int16_t(bottom);
    rect.right = int16_t(right);
}
