#pragma once

#include <windows.h>

// An open Win32 file handle, closed on destruction. Positions and sizes are
// 32-bit; every failure throws Exception.
class FileHandle
{
public:
    FileHandle();
    explicit FileHandle(HANDLE handle);
    ~FileHandle();

    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    unsigned long seek(long position);
    unsigned long seekRelative(long delta);
    unsigned long seekFromEnd(long offset);
    unsigned long tell();
    unsigned long size();
    void close();

    HANDLE get() const { return handle_; }
    bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    unsigned long move(long distance, DWORD method);

    HANDLE handle_;
};
