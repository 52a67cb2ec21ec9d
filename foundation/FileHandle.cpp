#include "foundation/FileHandle.h"

#include "foundation/Exception.h"

FileHandle::FileHandle() : handle_(INVALID_HANDLE_VALUE)
{
}

FileHandle::FileHandle(HANDLE handle) : handle_(handle ? handle : INVALID_HANDLE_VALUE)
{
}

FileHandle::~FileHandle()
{
    close();
}

unsigned long FileHandle::move(long distance, DWORD method)
{
    DWORD position = SetFilePointer(handle_, distance, nullptr, method);
    if (position == INVALID_SET_FILE_POINTER)
        throw Exception(kFilePositionException);
    return position;
}

unsigned long FileHandle::seek(long position) { return move(position, FILE_BEGIN); }
unsigned long FileHandle::seekRelative(long delta) { return move(delta, FILE_CURRENT); }
unsigned long FileHandle::seekFromEnd(long offset) { return move(offset, FILE_END); }
unsigned long FileHandle::tell() { return move(0, FILE_CURRENT); }

unsigned long FileHandle::size()
{
    // Sizes of 4 GiB and more do not fit; report them as a failure rather
    // than a truncated size.
    DWORD high = 0;
    DWORD low = GetFileSize(handle_, &high);
    if (low == INVALID_FILE_SIZE || high != 0)
        throw Exception(kFileReadException);
    return low;
}

void FileHandle::close()
{
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}
