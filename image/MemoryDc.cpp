#include "image/MemoryDc.h"

MemoryDc::MemoryDc()
{
}

MemoryDc::MemoryDc(HBITMAP bitmapHandle, bool ownsBitmap, HDC reference)
    : bitmap(bitmapHandle, ownsBitmap), dcHolder(CreateCompatibleDC(reference), true)
{
    if (dcHolder.dc())
        bitmap.selectInto(dcHolder.dc());
}

MemoryDc::~MemoryDc()
{
    bitmap.release();
    dcHolder.release();
}

bool MemoryDc::bitBltFrom(HDC source, int x, int y, DWORD rop)
{
    BITMAP info;
    if (!bitmap.handle() || !dcHolder.dc()
        || GetObjectA(bitmap.handle(), sizeof(info), &info) != (int)sizeof(info))
        return false;
    return BitBlt(dcHolder.dc(), 0, 0, info.bmWidth, info.bmHeight, source, x, y, rop) != 0;
}

bool MemoryDc::transparentBltTo(HDC targetDc, const RECT& target, const RECT& source, UINT transparentColour)
{
    return TransparentBlt(targetDc, target.left, target.top, target.right - target.left, target.bottom - target.top,
                          dc(), source.left, source.top, source.right - source.left, source.bottom - source.top,
                          transparentColour) != 0;
}

bool MemoryDc::stretchBltTo(HDC targetDc, const RECT& target, const RECT& source, DWORD rasterOperation)
{
    return StretchBlt(targetDc, target.left, target.top, target.right - target.left, target.bottom - target.top,
                      dc(), source.left, source.top, source.right - source.left, source.bottom - source.top,
                      rasterOperation) != 0;
}
