#include "plugin/HostPixels.h"

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
    // Rows of a bottom-up buffer lie below the first one in memory.
    const ptrdiff_t span = ptrdiff_t(height - 1) * stride;
    const uint8_t* lowest = span < 0 ? top + span : top;
    const size_t extent = size_t(span < 0 ? -span : span) + size_t(width) * size_t(bytesPerPixel);
    return writable ? hostMemoryWritable(lowest, extent) : hostMemoryReadable(lowest, extent);
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
