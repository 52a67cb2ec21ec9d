#pragma once

#include <cstdint>

// The x87 control word and the SSE control/status register. A plug-in may
// change rounding, precision or exception masks and not put them back; the
// host restores its own after every call into one.
struct FloatingPointState
{
    uint16_t x87Control;
    uint32_t mxcsr;

    static FloatingPointState current();
    // Clears pending x87 exceptions first, so that restoring a mask cannot
    // raise one that the plug-in left unmasked.
    void restore() const;
};

// Restores the state found at construction when it goes out of scope.
class FloatingPointGuard
{
public:
    FloatingPointGuard() : saved_(FloatingPointState::current()) {}
    ~FloatingPointGuard() { saved_.restore(); }
    FloatingPointGuard(const FloatingPointGuard&) = delete;
    FloatingPointGuard& operator=(const FloatingPointGuard&) = delete;
    const FloatingPointState& saved() const { return saved_; }

private:
    FloatingPointState saved_;
};
