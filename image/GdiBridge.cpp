#include "image/GdiBridge.h"

#include "image/BitmapInfo.h"
#include "image/CompositeModes.h"
#include "image/DibImage.h"
#include "image/DibSectionImage.h"
#include "image/Image.h"
#include "image/OwnedBitmap.h"
#include "image/codecs/BmpCodec.h"

#include <climits>
#include <cstring>

namespace {

// The pixels of an image the way GDI reads them: B, G, R(, A) order and rows
// at the DWORD-aligned stride. Images in R, G, B order or with another stride
// are converted into a private copy first.
class GdiPixels
{
public:
    explicit GdiPixels(const Image& image) : source_(&image), ok_(false)
    {
        if (!buildGdiHeader(header_, image))
            return;
        const uint32_t aligned = (uint32_t(image.step()) * uint32_t(image.width()) + 3) & ~3u;
        const int format = image.format();
        if ((format == kFormatGrey || format == kFormatBgr || format == kFormatBgra) && image.stride() == aligned) {
            ok_ = true;
            return;
        }
        const int target = image.step() == 1 ? kFormatGrey : image.step() == 3 ? kFormatBgr : kFormatBgra;
        if (!converted_.create(image.width(), image.height(), target))
            return;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                converted_.setPixel(x, y, image.getPixel(x, y));
        source_ = &converted_;
        ok_ = true;
    }

    bool ok() const { return ok_; }
    const BITMAPINFO* info() const { return header_.info(); }
    const GdiBitmapHeader& header() const { return header_; }
    const Image& image() const { return *source_; }
    const void* bits() const { return source_->bits(); }

private:
    GdiBitmapHeader header_;
    OwnedBitmap converted_;
    const Image* source_;
    bool ok_;
};

int widthOf(const RECT& r)
{
    return r.right - r.left;
}

int heightOf(const RECT& r)
{
    return r.bottom - r.top;
}

class GlobalLockGuard
{
public:
    explicit GlobalLockGuard(HGLOBAL block) : block_(block), data_(GlobalLock(block)) {}
    ~GlobalLockGuard()
    {
        if (data_)
            GlobalUnlock(block_);
    }
    void* data() const { return data_; }

private:
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    HGLOBAL block_;
    void* data_;
};

uint32_t le32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// Shifts that bring a colour mask to one byte: right until it fits in 8 bits,
// and left for a narrow mask until its top bit reaches bit 7.
struct MaskShift
{
    uint32_t mask;
    int right;
    int left;

    explicit MaskShift(uint32_t m) : mask(m), right(0), left(0)
    {
        while ((mask >> right) > 255u)
            ++right;
        // A zero mask never reaches bit 7; callers refuse it before this.
        if (mask != 0 && mask < 0x80u)
            while ((mask << left) < 0x80u)
                ++left;
    }
    uint8_t apply(uint32_t pixel) const { return uint8_t((((pixel & mask) >> right) & 255u) << left); }
};

} // namespace

bool buildGdiHeader(GdiBitmapHeader& out, const Image& image)
{
    if (image.isEmpty())
        return false;
    BITMAPINFO info;
    const uint32_t aligned = (uint32_t(image.step()) * uint32_t(image.width()) + 3) & ~3u;
    if (!buildBitmapInfo(info, image.width(), image.height(), int(image.step()), int(aligned)))
        return false;
    std::memset(&out, 0, sizeof out);
    out.header = info.bmiHeader;
    if (image.step() == 1) {
        out.header.biClrUsed = 256;
        for (int i = 0; i < 256; ++i) {
            out.colours[i].rgbRed = out.colours[i].rgbGreen = out.colours[i].rgbBlue = BYTE(i);
        }
    }
    return true;
}

bool drawImage(const Image& image, HDC dc, const RECT& source, const RECT& destination)
{
    GdiPixels pixels(image);
    if (!pixels.ok())
        return false;
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    const int height = image.height();
    if (widthOf(source) == widthOf(destination) && heightOf(source) == heightOf(destination)) {
        return SetDIBitsToDevice(dc, destination.left, destination.top, widthOf(destination), heightOf(destination),
                                 source.left, height - source.bottom, 0, UINT(height), pixels.bits(),
                                 pixels.info(), DIB_RGB_COLORS) != 0;
    }
    return StretchDIBits(dc, destination.left, destination.top, widthOf(destination), heightOf(destination),
                         source.left, source.top, widthOf(source), heightOf(source), pixels.bits(),
                         pixels.info(), DIB_RGB_COLORS, SRCCOPY) != 0;
}

bool drawImageScaled(const Image& image, HDC dc, const RECT& destination)
{
    const RECT whole = {0, 0, image.width(), image.height()};
    return drawImage(image, dc, whole, destination);
}

void premultiplyAlpha(Image& image)
{
    if (image.step() != 4 || image.isEmpty())
        return;
    for (int y = 0; y < image.height(); ++y) {
        uint8_t* p = image.row(y);
        for (int x = 0; x < image.width(); ++x, p += 4) {
            const unsigned a = p[3];
            p[0] = uint8_t(p[0] * a / 255);
            p[1] = uint8_t(p[1] * a / 255);
            p[2] = uint8_t(p[2] * a / 255);
        }
    }
}

bool drawBlended(const Image& image, HDC dc, const RECT& destination)
{
    const int width = widthOf(destination);
    const int height = heightOf(destination);
    DibSectionImage canvas;
    if (!canvas.create(width, height, kFormatBgr) || !canvas.dc())
        return false;
    if (!BitBlt(canvas.dc(), 0, 0, width, height, dc, destination.left, destination.top, SRCCOPY))
        return false;
    // GDI may still be writing into the section.
    GdiFlush();
    image.compositeOnto(canvas, lerpArgbBySourceAlpha);
    const RECT whole = {0, 0, width, height};
    return canvas.draw(dc, whole, destination);
}

bool DibImage::draw(HDC dc, const RECT& source, const RECT& destination) const
{
    return drawImage(*this, dc, source, destination);
}

bool DibImage::drawAt(HDC dc, const POINT& p) const
{
    const RECT whole = {0, 0, width(), height()};
    const RECT target = {p.x, p.y, p.x + width(), p.y + height()};
    return drawImage(*this, dc, whole, target);
}

HBITMAP DibImage::createDdb(HDC dc) const
{
    GdiPixels pixels(*this);
    if (!pixels.ok())
        return nullptr;
    return CreateDIBitmap(dc, &pixels.header().header, CBM_INIT, pixels.bits(), pixels.info(), DIB_RGB_COLORS);
}

bool DibImage::setDIBits(HDC dc, HBITMAP bitmap, const int range[2]) const
{
    GdiPixels pixels(*this);
    if (!pixels.ok() || range[0] < 0 || range[1] < 0 || range[0] > height() || range[1] > height() - range[0])
        return false;
    return SetDIBits(dc, bitmap, UINT(range[0]), UINT(range[1]), pixels.bits(), pixels.info(), DIB_RGB_COLORS) != 0;
}

bool DibSectionImage::alphaBlendTo(HDC target, const RECT& source, const RECT& destination) const
{
    if (!dc())
        return false;
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return AlphaBlend(target, destination.left, destination.top, widthOf(destination), heightOf(destination),
                      dc(), source.left, source.top, widthOf(source), heightOf(source), blend) != 0;
}

bool DibSectionImage::alphaBlendInto(HDC target, const RECT& destination) const
{
    const RECT whole = {0, 0, width(), height()};
    return alphaBlendTo(target, whole, destination);
}

bool DibSectionImage::alphaBlendAtOrigin(HDC target) const
{
    const RECT whole = {0, 0, width(), height()};
    return alphaBlendTo(target, whole, whole);
}

bool DibSectionImage::alphaBlendAt(HDC target, const POINT& p) const
{
    const RECT whole = {0, 0, width(), height()};
    const RECT placed = {p.x, p.y, p.x + width(), p.y + height()};
    if ((GetDeviceCaps(target, SHADEBLENDCAPS) & SB_PIXEL_ALPHA) == 0)
        return draw(target, whole, placed);
    return alphaBlendTo(target, whole, placed);
}

bool DibSectionImage::captureFrom(HDC source, const RECT& area)
{
    if (!createWithDepth(widthOf(area), heightOf(area), 3) || !dc())
        return false;
    BITMAP info;
    if (GetObjectA(section(), sizeof info, &info) != sizeof info)
        return false;
    const bool ok = BitBlt(dc(), 0, 0, info.bmWidth, info.bmHeight, source, area.left, area.top, SRCCOPY) != 0;
    GdiFlush();
    return ok;
}

HGLOBAL makeClipboardDib(const Image& image)
{
    GdiPixels pixels(image);
    if (!pixels.ok())
        return nullptr;
    const Image& source = pixels.image();
    const uint64_t rowBytes = source.stride();
    const uint64_t total = uint64_t(pixels.header().size()) + rowBytes * uint64_t(source.height());
    if (total > 0x7FFFFFFFu)
        return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, SIZE_T(total));
    if (!block)
        return nullptr;
    uint8_t* out = static_cast<uint8_t*>(GlobalLock(block));
    if (!out) {
        GlobalFree(block);
        return nullptr;
    }
    GdiBitmapHeader header = pixels.header();
    // The clipboard gets the usual bottom-up layout: positive height, last row first.
    header.header.biHeight = source.height();
    std::memcpy(out, &header, header.size());
    out += header.size();
    for (int k = 0; k < source.height(); ++k, out += rowBytes)
        std::memcpy(out, source.row(source.height() - 1 - k), size_t(rowBytes));
    GlobalUnlock(block);
    return block;
}

bool copyImageToClipboard(const Image& image, HWND owner)
{
    if (image.isEmpty())
        return false;
    if (!OpenClipboard(owner))
        return false;
    const bool emptied = EmptyClipboard() != 0;
    GdiFlush();
    HGLOBAL block = makeClipboardDib(image);
    if (emptied && block && SetClipboardData(CF_DIB, block)) {
        CloseClipboard();
        return true;
    }
    if (block)
        GlobalFree(block);
    CloseClipboard();
    return false;
}

bool readPackedDib(Image& image, HGLOBAL block)
{
    if (!block)
        return false;
    const SIZE_T size = GlobalSize(block);
    GlobalLockGuard lock(block);
    if (!lock.data())
        return false;
    return readPackedDibBytes(image, lock.data(), size);
}

bool readPackedDibBytes(Image& image, const void* data, SIZE_T size)
{
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    if (!bytes || size < sizeof(BITMAPINFOHEADER))
        return false;
    BITMAPINFOHEADER h;
    std::memcpy(&h, bytes, sizeof h);
    if (h.biSize != sizeof(BITMAPINFOHEADER) || h.biPlanes != 1)
        return false;
    if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT_MIN)
        return false;
    const int width = h.biWidth;
    const bool bottomUp = h.biHeight > 0;
    const int rows = bottomUp ? h.biHeight : -h.biHeight;
    const unsigned bits = h.biBitCount;

    uint64_t pixelOffset = sizeof(BITMAPINFOHEADER);
    int format = 0;
    uint32_t masks[3] = {0, 0, 0};
    RGBQUAD table[256];
    uint32_t tableCount = 0;
    bool greyTable = false;
    if (h.biCompression == BI_RGB) {
        if (bits == 8) {
            tableCount = h.biClrUsed == 0 ? 256 : h.biClrUsed;
            if (tableCount > 256)
                return false;
        } else if (bits == 24 || bits == 32) {
            // An optional table may sit before the pixels of deep DIBs.
            if (h.biClrUsed > 256)
                return false;
            tableCount = h.biClrUsed;
        } else {
            return false;
        }
        if (pixelOffset + tableCount * 4u > size)
            return false;
        std::memcpy(table, bytes + pixelOffset, tableCount * 4u);
        pixelOffset += tableCount * 4u;
        if (bits == 8) {
            greyTable = tableCount == 256;
            for (uint32_t i = 0; i < tableCount && greyTable; ++i)
                greyTable = table[i].rgbRed == i && table[i].rgbGreen == i && table[i].rgbBlue == i;
            format = greyTable ? kFormatGrey : kFormatBgr;
        } else {
            format = bits == 24 ? kFormatBgr : kFormatBgra;
        }
    } else if (h.biCompression == BI_BITFIELDS) {
        if (bits != 16 && bits != 32)
            return false;
        if (pixelOffset + 12 > size)
            return false;
        for (int i = 0; i < 3; ++i) {
            masks[i] = le32(bytes + pixelOffset + 4 * i);
            // A zero mask has no bit to bring to bit 7.
            if (masks[i] == 0)
                return false;
        }
        pixelOffset += 12;
        format = kFormatBgr;
    } else {
        return false;
    }

    const uint64_t rowBytes = ((uint64_t(bits) * uint64_t(width) + 31) & ~uint64_t(31)) / 8;
    if (pixelOffset + rowBytes * uint64_t(rows) > size)
        return false;
    if (!image.create(width, rows, format))
        return false;
    if (image.width() != width || image.height() != rows || image.format() != format || image.isEmpty())
        return false;

    const MaskShift red(masks[0]), green(masks[1]), blue(masks[2]);
    for (int k = 0; k < rows; ++k) {
        const uint8_t* in = bytes + pixelOffset + rowBytes * uint64_t(k);
        const int y = bottomUp ? rows - 1 - k : k;
        uint8_t* out = image.row(y);
        if (h.biCompression == BI_BITFIELDS) {
            for (int x = 0; x < width; ++x) {
                const uint32_t p = bits == 16 ? uint32_t(in[2 * x] | (in[2 * x + 1] << 8)) : le32(in + 4 * x);
                out[3 * x] = blue.apply(p);
                out[3 * x + 1] = green.apply(p);
                out[3 * x + 2] = red.apply(p);
            }
        } else if (bits == 8 && !greyTable) {
            for (int x = 0; x < width; ++x) {
                const uint8_t index = in[x];
                RGBQUAD c = {0, 0, 0, 0};
                if (index < tableCount)
                    c = table[index];
                out[3 * x] = c.rgbBlue;
                out[3 * x + 1] = c.rgbGreen;
                out[3 * x + 2] = c.rgbRed;
            }
        } else {
            std::memcpy(out, in, size_t(width) * image.step());
        }
    }
    // Most programs leave the alpha bytes of 32-bit DIBs at 0 and mean opaque.
    if (format == kFormatBgra && hasOnlyZeroAlpha(image))
        makeOpaque(image);
    return true;
}
