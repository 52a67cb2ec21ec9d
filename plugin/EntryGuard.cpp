#include "plugin/EntryGuard.h"

#include <atomic>

namespace {

std::atomic<bool> busy{false};

} // namespace

EntryGuard::EntryGuard() : entered_(!busy.exchange(true))
{
}

EntryGuard::~EntryGuard()
{
    if (entered_)
        busy = false;
}
