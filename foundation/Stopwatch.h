#pragma once

#include <cstdint>

// Elapsed time on the millisecond tick counter; differences are taken
// modulo 2^32, so a wrap of the counter is harmless.
class Stopwatch
{
public:
    // Source of the tick count; null means the system tick counter.
    typedef std::uint32_t (*TickSource)();

    explicit Stopwatch(TickSource source = nullptr);
    virtual ~Stopwatch();

    void restart();
    std::uint32_t elapsedMilliseconds() const;
    std::uint32_t elapsedWholeSeconds() const;
    std::uint32_t elapsedMinutes() const;
    double elapsedSeconds() const;

    static std::uint32_t systemTicks();

private:
    TickSource source_;
    std::uint32_t start_;
};
