#pragma once

#include <windows.h>

// Holds a device context; deletes it on release only when owned.
class DcHolder
{
public:
    DcHolder();
    DcHolder(HDC dc, bool owns);
    virtual ~DcHolder();

    DcHolder(const DcHolder&) = delete;
    DcHolder& operator=(const DcHolder&) = delete;

    // Deletes the old DC first when it is owned.
    void attach(HDC dc, bool owns);
    void release();

    HDC dc() const { return dc_; }
    bool owns() const { return owns_ != 0; }

private:
    HDC dc_;
    unsigned char owns_;
};
