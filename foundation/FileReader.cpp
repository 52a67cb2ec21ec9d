#include "foundation/FileReader.h"

#include "foundation/Exception.h"

namespace {

HANDLE openForReading(const String& path)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw Exception(kFileOpenException);
    return h;
}

}

FileReader::FileReader(const String& path) : FileInputStream(openForReading(path))
{
}
