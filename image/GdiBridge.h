#pragma once

#include <windows.h>

class Image;

// A BITMAPINFO with room for a full colour table: one-byte images are handed
// to GDI as 8-bit DIBs with a grey ramp.
struct GdiBitmapHeader
{
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];

    const BITMAPINFO* info() const { return reinterpret_cast<const BITMAPINFO*>(this); }
    // Bytes of header plus colour table.
    DWORD size() const { return DWORD(sizeof header + header.biClrUsed * sizeof(RGBQUAD)); }
};

// Top-down header for a 1-, 3- or 4-byte image (grey table for 1 byte);
// false for other depths or an empty image.
bool buildGdiHeader(GdiBitmapHeader& out, const Image& image);

// Draws the source rectangle of the image into the destination rectangle of
// the DC: SetDIBitsToDevice for equal sizes, StretchDIBits otherwise.
bool drawImage(const Image& image, HDC dc, const RECT& source, const RECT& destination);
bool drawImageScaled(const Image& image, HDC dc, const RECT& destination);

// R, G and B become channel * alpha / 255; four-byte pixels only.
void premultiplyAlpha(Image& image);
// Software alpha: captures the destination area, composites the image over it
// by its alpha and draws the result back.
bool drawBlended(const Image& image, HDC dc, const RECT& destination);

// Clipboard, CF_DIB. The block lists rows bottom-up after the header (and the
// grey table of a one-byte image).
bool copyImageToClipboard(const Image& image, HWND owner);
HGLOBAL makeClipboardDib(const Image& image);
// Reads a packed DIB: BI_RGB at 8 (with colour table), 24 and 32 bits,
// BI_BITFIELDS at 16 and 32 bits. Every size is checked against the block.
bool readPackedDib(Image& image, HGLOBAL block);
// The same over memory already locked.
bool readPackedDibBytes(Image& image, const void* data, SIZE_T size);
