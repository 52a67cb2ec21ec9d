#include "image/GdiObjectHolder.h"

GdiObjectHolder::GdiObjectHolder()
    : handle_(nullptr), previous_(nullptr), dc_(nullptr), owns_(0)
{
}

GdiObjectHolder::GdiObjectHolder(HGDIOBJ handle, bool owns)
    : handle_(handle), previous_(nullptr), dc_(nullptr), owns_(owns ? 1 : 0)
{
}

GdiObjectHolder::~GdiObjectHolder()
{
    release();
}

void GdiObjectHolder::attach(HGDIOBJ handle, bool owns)
{
    release();
    handle_ = handle;
    owns_ = owns ? 1 : 0;
}

HGDIOBJ GdiObjectHolder::selectInto(HDC dc)
{
    deselect();
    if (!dc || !handle_)
        return nullptr;
    HGDIOBJ old = SelectObject(dc, handle_);
    if (old && old != HGDI_ERROR) {
        previous_ = old;
        dc_ = dc;
        return old;
    }
    return nullptr;
}

void GdiObjectHolder::deselect()
{
    if (dc_ && previous_)
        SelectObject(dc_, previous_);
    dc_ = nullptr;
    previous_ = nullptr;
}

void GdiObjectHolder::release()
{
    deselect();
    if (owns_ && handle_)
        DeleteObject(handle_);
    handle_ = nullptr;
    owns_ = 0;
}
