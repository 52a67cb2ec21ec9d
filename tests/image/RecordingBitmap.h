#pragma once

#include "image/OwnedBitmap.h"

#include <cstdint>

// An owned bitmap that remembers the largest pixel buffer it was allowed to
// allocate, so that corpus tests can tell a lying header from a real one.
class RecordingBitmap : public OwnedBitmap
{
public:
    bool create(int width, int height, int format) override
    {
        const bool ok = OwnedBitmap::create(width, height, format);
        if (ok && uint64_t(stride()) * uint64_t(this->height()) > largest)
            largest = uint64_t(stride()) * uint64_t(this->height());
        return ok;
    }
    uint64_t largest = 0;
};
