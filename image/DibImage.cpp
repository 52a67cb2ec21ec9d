#include "image/DibImage.h"

#include "image/BitmapInfo.h"

#include <cstring>

DibImage::DibImage()
{
    std::memset(&info_, 0, sizeof(info_));
}

DibImage::DibImage(int width, int height, int format)
{
    std::memset(&info_, 0, sizeof(info_));
    DibImage::create(width, height, format);
}

bool DibImage::create(int width, int height, int format)
{
    return OwnedBitmap::create(width, height, format);
}

void DibImage::afterAllocation()
{
    updateBitmapInfo();
}

bool DibImage::updateBitmapInfo()
{
    return buildBitmapInfo(info_, width_, height_, int(step_), int(stride_));
}

bool DibImage::setBitmapInfo(int width, int height, int bytesPerPixel, int stride)
{
    return buildBitmapInfo(info_, width, height, bytesPerPixel, stride);
}

bool buildBitmapInfoFor(BITMAPINFO& out, const Image& image)
{
    return buildBitmapInfo(out, image.width(), image.height(), int(image.step()),
                           int(image.stride()));
}
