#include "plugin/skin/SkinBitmap.h"

#include "image/BinResource.h"
#include "image/DibImage.h"
#include "image/MemoryDc.h"
#include "image/PixelGenerator.h"
#include "image/codecs/ImageLoading.h"

SkinBitmap::SkinBitmap() : bitmap_(nullptr)
{
}

SkinBitmap::~SkinBitmap()
{
    attach(nullptr);
}

void SkinBitmap::attach(HBITMAP bitmap)
{
    if (bitmap_ && bitmap_ != bitmap)
        DeleteObject(bitmap_);
    bitmap_ = bitmap;
}

bool SkinBitmap::loadFile(const String& path, PixelGenerator* generator, HDC dc)
{
    DibImage image;
    return image.loadFile(path) && adopt(image, generator, dc);
}

bool SkinBitmap::loadImageResource(HMODULE module, UINT id, PixelGenerator* generator, HDC dc)
{
    DibImage image;
    bool decoded = false;
    try {
        BinResource resource;
        decoded = resource.loadImage(image, id, kImageTypePng, module);
    } catch (...) {
        // A missing resource is a failed load like any other.
        decoded = false;
    }
    return decoded && adopt(image, generator, dc);
}

bool SkinBitmap::adopt(DibImage& image, PixelGenerator* generator, HDC dc)
{
    if (image.isEmpty())
        return false;
    if (generator)
        image.fillFrom(*generator);
    image.updateBitmapInfo();
    HBITMAP made = image.createDdb(dc);
    if (!made)
        return false;
    attach(made);
    return true;
}

SIZE SkinBitmap::size() const
{
    SIZE s = {0, 0};
    BITMAP info;
    if (bitmap_ && GetObjectA(bitmap_, sizeof info, &info)) {
        s.cx = info.bmWidth;
        s.cy = info.bmHeight;
    }
    return s;
}

bool SkinBitmap::draw(HDC target, const RECT& to, const RECT& from, bool transparent,
                      COLORREF transparentColour) const
{
    if (!bitmap_)
        return false;
    // The bitmap stays ours: the memory DC only borrows it.
    MemoryDc source(bitmap_, false, target);
    return transparent ? source.transparentBltTo(target, to, from, transparentColour)
                       : source.stretchBltTo(target, to, from, SRCCOPY);
}

bool SkinBitmap::copy(HDC target, int x, int y, const RECT& from) const
{
    if (!bitmap_)
        return false;
    MemoryDc source(bitmap_, false, target);
    return BitBlt(target, x, y, from.right - from.left, from.bottom - from.top, source.dc(),
                  from.left, from.top, SRCCOPY) != FALSE;
}
