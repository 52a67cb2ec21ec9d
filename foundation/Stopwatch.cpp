#include "foundation/Stopwatch.h"

#include <windows.h>

Stopwatch::Stopwatch(TickSource source)
    : source_(source ? source : &Stopwatch::systemTicks), start_(source_())
{
}

Stopwatch::~Stopwatch()
{
}

std::uint32_t Stopwatch::systemTicks()
{
    return static_cast<std::uint32_t>(GetTickCount());
}

void Stopwatch::restart()
{
    start_ = source_();
}

std::uint32_t Stopwatch::elapsedMilliseconds() const
{
    return source_() - start_;
}

std::uint32_t Stopwatch::elapsedWholeSeconds() const
{
    return elapsedMilliseconds() / 1000u;
}

std::uint32_t Stopwatch::elapsedMinutes() const
{
    return elapsedMilliseconds() / 60000u;
}

double Stopwatch::elapsedSeconds() const
{
    return double(elapsedMilliseconds()) * double(0.001f);
}
