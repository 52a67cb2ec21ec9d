#include "AllocationFault.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> countdown(-1);
std::atomic<DWORD> armedThread(0);
std::atomic<bool> struckFlag(false);

bool failThisOne()
{
    if (countdown.load() < 0 || GetCurrentThreadId() != armedThread.load())
        return false;
    if (countdown.fetch_sub(1) != 0)
        return false;
    struckFlag = true;
    return true;
}

} // namespace

// The program's global allocator: malloc, as the library's own, so that the
// library's operator delete (free) and nothrow new (which calls this one)
// stay matched with it.
void* operator new(std::size_t size)
{
    if (failThisOne())
        throw std::bad_alloc();
    if (size == 0)
        size = 1;
    for (;;) {
        if (void* p = std::malloc(size))
            return p;
        std::new_handler handler = std::get_new_handler();
        if (!handler)
            throw std::bad_alloc();
        handler();
    }
}

namespace shelltest {

AllocationFault::AllocationFault(long n)
{
    struckFlag = false;
    armedThread = GetCurrentThreadId();
    countdown = n;
}

AllocationFault::~AllocationFault()
{
    countdown = -1;
}

bool AllocationFault::struck() const
{
    return struckFlag.load();
}

} // namespace shelltest
