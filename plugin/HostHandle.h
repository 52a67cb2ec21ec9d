#pragma once

#include <cstddef>
#include <cstdint>

#include "plugin/FilterInterface.h"

// The plug-in's own stand-in for host memory handles: a master block {data
// pointer, tag "OTOF"} and a separate data block, both movable, zeroed and
// locked global memory. The handle is the master's address, so the first
// word behind a handle is the data pointer, as hosts expect of handles.
enum HostMemoryError : uint8_t
{
    HostMemoryOk = 0,
    HostMemoryNoResizeHandle = 145,
    HostMemoryNoHandle = 147,
    HostMemoryAllocFailed = 148
};

// Pointer and tag with no padding: hosts know a master by its size of
// pointer + 4 bytes.
#pragma pack(push, 4)
struct HostHandleMaster
{
    void* data;
    char tag[4];
};
#pragma pack(pop)

static_assert(sizeof(HostHandleMaster) == sizeof(void*) + 4, "HostHandleMaster layout");

FilterHandle newHostHandle(size_t size);
// Size of the data block; 0 (error 147) for a null handle or data that is
// not a global block.
size_t hostHandleSize(FilterHandle handle);
bool resizeHostHandle(FilterHandle handle, size_t size);
void disposeHostHandle(FilterHandle handle);
uint8_t lastHostMemoryError();

// The data of a handle the host handed back, or null unless it is one of
// ours: readable master, the tag, and a data block of at least minSize.
// Hosts keep handles between runs, so a stale or foreign one must be told
// apart before it is used.
void* hostHandleData(FilterHandle handle, size_t minSize);

// The memory behind a handle a host handed in, wherever it lives: one of our
// masters, a host's copy of a master ({data pointer, "OTOF"} with the data in
// its own heap), a host handle-suite record {data pointer, int32 size}, a
// moveable global handle, or a slot of a host's master-pointer table. The
// first word is the data pointer; the word after it is trusted as a size only
// when it lies between least and limit (hosts' tables and the memory manager
// keep anything there). Otherwise size is the block's own size when the memory
// manager knows it, else the readable bytes, never more than limit. Empty when
// the handle or its data pointer leads to no readable memory.
struct HostBlock
{
    void* data = nullptr;
    size_t size = 0;
    bool writable = false; // all size bytes
};

HostBlock hostBlockOf(FilterHandle handle, size_t least, size_t limit);

// One locked, zeroed block without master; freeing null does nothing.
void* allocGlobalBlock(size_t size);
void freeGlobalBlock(void* block);

void setHostRect(FilterRect& rect, int left, int top, int right, int bottom);
