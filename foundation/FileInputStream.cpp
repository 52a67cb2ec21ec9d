#include "foundation/FileInputStream.h"

#include "foundation/Exception.h"

FileInputStream::FileInputStream(HANDLE h) : ended(0), handle(h), cachedSize(0xFFFFFFFFul)
{
}

FileInputStream::~FileInputStream()
{
}

unsigned int FileInputStream::read(unsigned char* buffer, unsigned int count)
{
    // A request for nothing says nothing about the end of the file.
    if (count == 0)
        return 0;
    DWORD got = 0;
    if (!ReadFile(handle.get(), buffer, count, &got, nullptr))
        throw Exception(kFileReadException);
    if (got == 0)
        ended = 1;
    return got;
}

bool FileInputStream::isEnd() const
{
    return ended != 0;
}

unsigned long FileInputStream::seek(long position) { return handle.seek(position); }
unsigned long FileInputStream::seekRelative(long delta) { return handle.seekRelative(delta); }
unsigned long FileInputStream::seekFromEnd(long offset) { return handle.seekFromEnd(offset); }
unsigned long FileInputStream::tell() { return handle.tell(); }
unsigned long FileInputStream::size() { return handle.size(); }

unsigned long FileInputStream::sizeCached(bool refresh)
{
    if (refresh || cachedSize == 0xFFFFFFFFul)
        cachedSize = handle.size();
    return cachedSize;
}
