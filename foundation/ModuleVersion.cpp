#include "foundation/ModuleVersion.h"

#include <windows.h>

#include <vector>

String ModuleVersion::toString() const
{
    String text;
    text.format("%u.%u.%u.%u", unsigned(major), unsigned(minor), unsigned(build),
                unsigned(revision));
    return text;
}

bool queryModuleVersion(const std::string& path, ModuleVersion& version)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0)
        return false;
    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data()))
        return false;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    char root[] = "\\";
    if (!VerQueryValueA(block.data(), root, reinterpret_cast<void**>(&info), &infoSize)
        || !info || infoSize < sizeof(VS_FIXEDFILEINFO))
        return false;
    version.major = HIWORD(info->dwFileVersionMS);
    version.minor = LOWORD(info->dwFileVersionMS);
    version.build = HIWORD(info->dwFileVersionLS);
    version.revision = LOWORD(info->dwFileVersionLS);
    return true;
}
