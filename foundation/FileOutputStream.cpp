#include "foundation/FileOutputStream.h"

#include "foundation/Exception.h"

FileOutputStream::FileOutputStream(HANDLE h) : handle(h)
{
}

FileOutputStream::~FileOutputStream()
{
}

unsigned int FileOutputStream::write(const unsigned char* buffer, unsigned int count)
{
    DWORD written = 0;
    if (!WriteFile(handle.get(), buffer, count, &written, nullptr) || written != count)
        throw Exception(kFileWriteException);
    return written;
}
