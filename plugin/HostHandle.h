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

struct HostHandleMaster
{
    void* data;
    char tag[4];
};

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

// One locked, zeroed block without master; freeing null does nothing.
void* allocGlobalBlock(size_t size);
void freeGlobalBlock(void* block);

void setHostRect(FilterRect& rect, int left, int top, int right, int bottom);
