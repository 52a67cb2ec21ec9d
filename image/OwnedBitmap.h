#pragma once

#include "image/Image.h"
#include "foundation/String.h"

class ByteStream;

// An image that owns its pixels: rows padded to four bytes, allocated with
// malloc and not cleared.
class OwnedBitmap : public Image
{
public:
    // Largest pixel buffer a decoder trusts a header for, and the cap of
    // every image buffer in a 32-bit process.
    static const uint32_t kMaxPixelBytes = 1u << 30;

    // Empty, format 4.
    OwnedBitmap();
    // Allocates like create; an unusable size leaves the bitmap empty.
    OwnedBitmap(int width, int height, int format);
    ~OwnedBitmap() override;

    // 1, 3 and 4 bytes per pixel give formats 2, 4 and 6; others fail.
    bool createWithDepth(int width, int height, int bytesPerPixel) override;
    // Releases the old pixels and allocates new ones. False, leaving the
    // bitmap without pixels, for an unlisted format, a size that
    // checkedStride refuses or memory the allocator cannot give. A zero
    // width or height gives an empty image of that size and true.
    bool create(int width, int height, int format) override;
    // Called after pixels were (re)bound.
    virtual void afterAllocation();
    // Releases the pixels.
    virtual void freePixels();

    // Takes over `bits` (from malloc; freed with free) as the pixels, when
    // the size is positive, the format known and every row fits the stride.
    // Otherwise nothing changes.
    void attachPixels(int width, int height, uint8_t* bits, uint32_t stride, int format);

    // Decodes a file chosen by its extension, or PNG data from a stream
    // (bodies in image/codecs/ImageLoading.cpp).
    bool loadFile(const String& path);
    bool loadFromStream(ByteStream& stream, int type);

    // The padded row size, or false for a negative size, a row too long for
    // 32-bit pixel offsets, or (in a 32-bit process) a buffer over
    // kMaxPixelBytes.
    static bool checkedStride(int width, int height, int bytesPerPixel, uint32_t& stride);

protected:
    // Drops the pixels and the size, keeping the format.
    void makeEmpty();
};

// Format for a bytes-per-pixel count: 1 -> 2, 3 -> 4, 4 -> 6.
bool formatForDepth(int& format, int bytesPerPixel);
