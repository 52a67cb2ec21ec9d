#pragma once

#include <cstdint>

#include "foundation/String.h"

// A view's zoom factor held as the exact fraction numerator / denominator, so
// that stepping in and out walks a fixed ladder (with base 4: ... 4/5, 4/4,
// 5/4 ...) and always comes back to exactly 1:1.
class ZoomRatio
{
public:
    // A base of 0 is taken as 1: the ratio divides by its parts, which never
    // fall below the base.
    ZoomRatio(uint32_t base, uint32_t maximum);
    virtual ~ZoomRatio();

    // One step toward larger (or smaller) factors; false, with nothing
    // changed, once the whole-number ratio has reached the maximum.
    bool zoomIn();
    bool zoomOut();

    // Up to |n| steps in (n > 0) or out (n < 0), stopping at the first
    // refused one; the signed number of steps done.
    int step(int n);

    // The factor as a percentage, e.g. "125.0%".
    String percentText() const;

    uint32_t base() const { return base_; }
    uint32_t maximum() const { return maximum_; }
    uint32_t numerator() const { return numerator_; }
    uint32_t denominator() const { return denominator_; }

private:
    uint32_t base_;
    uint32_t maximum_;
    uint32_t numerator_;
    uint32_t denominator_;
};
