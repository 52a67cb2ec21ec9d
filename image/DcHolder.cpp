#include "image/DcHolder.h"

DcHolder::DcHolder() : dc_(nullptr), owns_(0)
{
}

DcHolder::DcHolder(HDC dc, bool owns) : dc_(dc), owns_(owns ? 1 : 0)
{
}

DcHolder::~DcHolder()
{
    release();
}

void DcHolder::attach(HDC dc, bool owns)
{
    if (dc != dc_)
        release();
    dc_ = dc;
    owns_ = owns ? 1 : 0;
}

void DcHolder::release()
{
    if (owns_ && dc_)
        DeleteDC(dc_);
    dc_ = nullptr;
    owns_ = 0;
}
