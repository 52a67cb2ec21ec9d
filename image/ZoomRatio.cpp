#include "image/ZoomRatio.h"

#include <cstdint>

#include "foundation/NumberText.h"

ZoomRatio::ZoomRatio(uint32_t base, uint32_t maximum)
    : base_(base == 0 ? 1 : base), maximum_(maximum), numerator_(base_), denominator_(base_)
{
}

ZoomRatio::~ZoomRatio() {}

bool ZoomRatio::zoomIn()
{
    if (numerator_ / denominator_ >= maximum_)
        return false;
    if (denominator_ > base_) {
        --denominator_;
    } else {
        // With a huge maximum the numerator would wrap to 0 and break the
        // invariant that both parts stay at or above the base.
        if (numerator_ == UINT32_MAX)
            return false;
        ++numerator_;
    }
    return true;
}

bool ZoomRatio::zoomOut()
{
    if (denominator_ / numerator_ >= maximum_)
        return false;
    if (numerator_ > base_) {
        --numerator_;
    } else {
        if (denominator_ == UINT32_MAX)
            return false;
        ++denominator_;
    }
    return true;
}

int ZoomRatio::step(int n)
{
    int done = 0;
    if (n > 0) {
        while (done < n && zoomIn())
            ++done;
    } else if (n < 0) {
        while (done > n && zoomOut())
            --done;
    }
    return done;
}

String ZoomRatio::percentText() const
{
    const double percent = static_cast<double>(numerator_) / denominator_ * 100.0 + 0.005;
    return formatNumber("%.1f%%", percent);
}
