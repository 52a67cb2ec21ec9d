#include "plugin/HostHandle.h"
#include "plugin/HostMemory.h"

#include <windows.h>

#include <algorithm>
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
    if (!handle || !hostMemoryReadable(handle, sizeof(HostHandleMaster)))
        return nullptr;
    const HostHandleMaster* master = static_cast<const HostHandleMaster*>(handle);
    if (std::memcmp(master->tag, kTag, sizeof kTag) != 0 || !master->data ||
        !hostMemoryReadable(master->data, minSize))
        return nullptr;
    return blockSize(master->data) >= minSize ? master->data : nullptr;
}

HostBlock hostBlockOf(FilterHandle handle, size_t least, size_t limit)
{
    HostBlock block;
    // Every kind is a data pointer followed by at least four bytes.
    if (!handle || !hostMemoryReadable(handle, sizeof(HostHandleMaster)))
        return block;
    const HostHandleMaster* master = static_cast<const HostHandleMaster*>(handle);
    void* data = master->data;
    if (!data || !hostMemoryReadable(data, 1))
        return block;
    // Asked of the data pointer, so a handle that is no global one is never
    // handed to the memory manager. A global block is one of ours, a host's
    // moveable handle (then the handle itself) or the host's fixed memory.
    const HGLOBAL global = GlobalHandle(data);
    const size_t known = global ? GlobalSize(global) : 0;
    int32_t recorded = 0;
    std::memcpy(&recorded, master->tag, sizeof recorded);
    const bool ours = std::memcmp(master->tag, kTag, sizeof kTag) == 0;
    size_t size = limit;
    if (known && global == HGLOBAL(handle))
        size = std::min(size, known);
    else if (!ours && recorded > 0 && size_t(recorded) >= least && size_t(recorded) <= limit)
        size = size_t(recorded);
    else if (known)
        size = std::min(size, known);
    // Data elsewhere (a host heap, the host's runtime) is judged by what can
    // be read.
    size = hostReadableBytes(data, size);
    if (!size)
        return block;
    block.data = data;
    block.size = size;
    block.writable = hostMemoryWritable(data, size);
    return block;
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
