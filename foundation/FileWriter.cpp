#include "foundation/FileWriter.h"

#include "foundation/Exception.h"

namespace {

HANDLE openForWriting(const String& path, int mode)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                           mode == 0 ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw Exception(kFileOpenException);
    return h;
}

}

FileWriter::FileWriter(const String& path, int mode) : FileOutputStream(openForWriting(path, mode))
{
    if (mode == 2)
        handle.seekFromEnd(0);
}
