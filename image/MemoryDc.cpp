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
