#include "plugin/HostPixels.h"

#include <cstdint>
#include <cstring>

#include "image/PixelFormat.h"
#include "plugin/HostMemory.h"

bool HostPixels::strideHolds(int32_t stride, int width, int bytesPerPixel)
{
    const int64_t magnitude = stride < 0 ? -int64_t(stride) : int64_t(stride);
    return width > 0 && bytesPerPixel > 0 && magnitude >= int64_t(width) * bytesPerPixel;
}

bool HostPixels::rowsAccessible(const uint8_t* top, int32_t stride, int width, int height,
                                int bytesPerPixel, bool writable)
{
    if (!top || width <= 0 || height <= 0 || bytesPerPixel <= 0)
        return false;
    // Rows of a bottom-up buffer lie below the first one in memory. Worked
    // out in 64 bits, so rows past the end of the address space are refused
    // instead of wrapping round to a small extent.
    const int64_t span = int64_t(height - 1) * stride;
    const uint64_t magnitude = uint64_t(span < 0 ? -span : span);
    const uint64_t extent = magnitude + uint64_t(width) * uint64_t(bytesPerPixel);
    const uint64_t start = uint64_t(uintptr_t(top));
    const uint64_t lowest = span < 0 ? start - magnitude : start;
    if (extent > uint64_t(SIZE_MAX) || (span < 0 && magnitude > start) ||
        extent - 1 > uint64_t(UINTPTR_MAX) - lowest)
        return false;
    const uint8_t* first = reinterpret_cast<const uint8_t*>(uintptr_t(lowest));
    return writable ? hostMemoryWritable(first, size_t(extent)) : hostMemoryReadable(first, size_t(extent));
}

HostPixels::HostPixels(uint8_t* top, int32_t stride, int width, int height, int format)
    : top_(top), stride_(stride), rowBytes_(size_t(width) * size_t(bytesPerPixelFor(format)))
{
    if (stride >= 0) {
        image_.attach(width, height, top, uint32_t(stride), format);
        return;
    }
    copy_.resize(rowBytes_ * size_t(height));
    image_.attach(width, height, copy_.data(), uint32_t(rowBytes_), format);
}

void HostPixels::load()
{
    if (stride_ >= 0)
        return;
    for (int y = 0; y < image_.height(); ++y)
        std::memcpy(image_.row(y), hostRow(y), rowBytes_);
}

void HostPixels::commit()
{
    if (stride_ >= 0)
        return;
    for (int y = 0; y < image_.height(); ++y)
        std::memcpy(hostRow(y), image_.row(y), rowBytes_);
}
