#include "image/DibSectionImage.h"

#include "image/BitmapInfo.h"

DibSectionImage::DibSectionImage()
{
}

DibSectionImage::DibSectionImage(int width, int height, int format)
{
    DibSectionImage::create(width, height, format);
}

DibSectionImage::~DibSectionImage()
{
    releaseSection();
    dcHolder_.release();
}

void DibSectionImage::forgetPixels()
{
    bits_ = nullptr;
}

void DibSectionImage::freePixels()
{
    forgetPixels();
}

// The section is selected back out of its DC before it is deleted; GDI does
// not delete a bitmap that is still selected.
void DibSectionImage::releaseSection()
{
    section_.release();
    bits_ = nullptr;
}

bool DibSectionImage::create(int width, int height, int format)
{
    int bytesPerPixel = bytesPerPixelFor(format);
    uint32_t stride;
    // An 8-bit section reads a full 256-entry colour table from the header,
    // so one-byte images get a grey ramp instead of the single entry.
    struct
    {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info;
    BITMAPINFO& header = *reinterpret_cast<BITMAPINFO*>(&info);
    if (!checkedStride(width, height, bytesPerPixel, stride)
        || !buildBitmapInfo(header, width, height, bytesPerPixel, 0))
        return false;
    if (bytesPerPixel == 1) {
        for (int i = 0; i < 256; ++i)
            info.colours[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
        info.header.biClrUsed = 256;
    }

    freeRowTable();
    releaseSection();
    makeEmpty();

    void* sectionBits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &sectionBits, nullptr, 0);
    if (!bitmap || !sectionBits) {
        if (bitmap)
            DeleteObject(bitmap);
        return false;
    }
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) {
        DeleteObject(bitmap);
        return false;
    }
    dcHolder_.attach(dc, true);
    section_.attach(bitmap, true);
    section_.selectInto(dc);
    attachPixels(width, height, static_cast<uint8_t*>(sectionBits), stride, format);
    return true;
}
