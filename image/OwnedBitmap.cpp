#include "image/OwnedBitmap.h"

#include <climits>
#include <cstdlib>

OwnedBitmap::OwnedBitmap() : Image(0, 0, nullptr, 0, kFormatBgr)
{
}

OwnedBitmap::OwnedBitmap(int width, int height, int format) : Image(0, 0, nullptr, 0, format)
{
    OwnedBitmap::create(width, height, format);
}

OwnedBitmap::~OwnedBitmap()
{
    std::free(bits_);
    bits_ = nullptr;
}

bool formatForDepth(int& format, int bytesPerPixel)
{
    switch (bytesPerPixel) {
    case 1: format = kFormatGrey; return true;
    case 3: format = kFormatBgr; return true;
    case 4: format = kFormatBgra; return true;
    default: return false;
    }
}

bool OwnedBitmap::createWithDepth(int width, int height, int bytesPerPixel)
{
    int format;
    if (!formatForDepth(format, bytesPerPixel))
        return false;
    return create(width, height, format);
}

bool OwnedBitmap::checkedStride(int width, int height, int bytesPerPixel, uint32_t& stride)
{
    if (width < 0 || height < 0 || bytesPerPixel <= 0)
        return false;
    const uint64_t rowBytes = (uint64_t(bytesPerPixel) * uint64_t(width) + 3) & ~uint64_t(3);
    if (rowBytes > uint64_t(INT_MAX))
        return false;
    // A 64-bit process takes any size the allocator gives; a 32-bit one
    // keeps to a buffer its address space can hold next to everything else.
    if (sizeof(void*) < 8 && rowBytes * uint64_t(height) > kMaxPixelBytes)
        return false;
    stride = uint32_t(rowBytes);
    return true;
}

void OwnedBitmap::makeEmpty()
{
    width_ = 0;
    height_ = 0;
    stride_ = 0;
    bits_ = nullptr;
}

bool OwnedBitmap::create(int width, int height, int format)
{
    freeRowTable();
    freePixels();
    makeEmpty();
    int bytesPerPixel = bytesPerPixelFor(format);
    uint32_t stride;
    if (bytesPerPixel == 0 || !checkedStride(width, height, bytesPerPixel, stride))
        return false;
    // malloc rather than new: a refused allocation is a false result here,
    // never an exception escaping into a window procedure.
    // At least one byte, so that an empty size still has its own pointer.
    const size_t bytes = size_t(stride) * size_t(height);
    uint8_t* memory = static_cast<uint8_t*>(std::malloc(bytes ? bytes : 1));
    if (!memory)
        return false;
    width_ = width;
    height_ = height;
    format_ = format;
    step_ = uint32_t(bytesPerPixel);
    setChannelLayout();
    stride_ = stride;
    bits_ = memory;
    afterAllocation();
    return true;
}

void OwnedBitmap::afterAllocation()
{
}

void OwnedBitmap::freePixels()
{
    if (bits_) {
        std::free(bits_);
        bits_ = nullptr;
    }
}

void OwnedBitmap::attachPixels(int width, int height, uint8_t* bits, uint32_t stride, int format)
{
    int bytesPerPixel = bytesPerPixelFor(format);
    if (width <= 0 || height <= 0 || !bits || bytesPerPixel == 0)
        return;
    if (uint64_t(stride) < uint64_t(width) * uint64_t(bytesPerPixel))
        return;
    freePixels();
    attach(width, height, bits, stride, format);
    afterAllocation();
}
