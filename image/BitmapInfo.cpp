#include "image/BitmapInfo.h"

#include <cstring>

bool buildBitmapInfo(BITMAPINFO& out, int width, int height, int bytesPerPixel, int stride)
{
    if (bytesPerPixel != 1 && bytesPerPixel != 3 && bytesPerPixel != 4)
        return false;
    if (width <= 0 || height <= 0)
        return false;
    unsigned long long rowBytes = stride >= 1
        ? (unsigned long long)stride
        : (((unsigned long long)bytesPerPixel * (unsigned)width + 3) & ~3ull);
    unsigned long long imageSize = rowBytes * (unsigned)height;
    if (imageSize > 0xFFFFFFFFull)
        return false;

    std::memset(&out, 0, sizeof(BITMAPINFOHEADER) + sizeof(RGBQUAD));
    BITMAPINFOHEADER& h = out.bmiHeader;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = width;
    h.biHeight = -height;
    h.biPlanes = 1;
    h.biBitCount = WORD(8 * bytesPerPixel);
    h.biCompression = BI_RGB;
    h.biSizeImage = DWORD(imageSize);
    return true;
}
