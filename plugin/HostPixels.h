#pragma once

#include <cstdint>
#include <vector>

#include "image/Image.h"

// A host's pixel rows as an Image. Rows that run down in memory are bound in
// place; a negative stride (a bottom-up buffer: the first row is the top one
// and each next row lies below it in memory) goes through a private top-down
// copy, since Image strides are unsigned: load() fills it from the host's
// rows and commit() writes it back. Both do nothing for rows bound in place.
class HostPixels
{
public:
    // True when rows of width pixels fit a stride of this magnitude.
    static bool strideHolds(int32_t stride, int width, int bytesPerPixel);
    // True when every byte of the rows is memory the host lets us read (or
    // also write): a buffer shorter than the rows it is said to hold is
    // refused instead of faulting.
    static bool rowsAccessible(const uint8_t* top, int32_t stride, int width, int height,
                               int bytesPerPixel, bool writable);

    HostPixels(uint8_t* top, int32_t stride, int width, int height, int format);
    HostPixels(const HostPixels&) = delete;
    HostPixels& operator=(const HostPixels&) = delete;

    Image& image() { return image_; }
    void load();
    void commit();

private:
    uint8_t* hostRow(int y) const { return top_ + ptrdiff_t(y) * stride_; }

    uint8_t* top_;
    int32_t stride_;
    size_t rowBytes_;
    std::vector<uint8_t> copy_;
    Image image_;
};
