#include "AllocationFault.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> countdown(-1);
std::atomic<DWORD> armedThread(0);
std::atomic<bool> struckFlag(false);
std::atomic<long> live(0);

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

// The program's global allocator: malloc and free, as the library's own. The
// library's nothrow, array and sized forms call these two.
void* operator new(std::size_t size)
{
    if (failThisOne())
        throw std::bad_alloc();
    if (size == 0)
        size = 1;
    for (;;) {
        if (void* p = std::malloc(size)) {
            ++live;
            return p;
        }
        std::new_handler handler = std::get_new_handler();
        if (!handler)
            throw std::bad_alloc();
        handler();
    }
}

void operator delete(void* p) noexcept
{
    if (p) {
        --live;
        std::free(p);
    }
}

void operator delete(void* p, std::size_t) noexcept
{
    operator delete(p);
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

long liveAllocations()
{
    return live.load();
}

} // namespace shelltest
