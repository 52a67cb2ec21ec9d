#pragma once

#include <cstddef>

// Probes of memory a host hands over, through the memory manager: the bytes
// themselves are never touched, so a hostile pointer costs a false answer
// instead of a fault.

// True when count bytes from p are committed memory that may be read (or
// written).
bool hostMemoryReadable(const void* p, size_t count);
bool hostMemoryWritable(const void* p, size_t count);
// How many of count bytes from p can be read, up to the first page that
// cannot.
size_t hostReadableBytes(const void* p, size_t count);
size_t hostWritableBytes(const void* p, size_t count);
