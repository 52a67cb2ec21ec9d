#include "foundation/FileSystem.h"

#include "foundation/PathParts.h"

#include <windows.h>

#include <vector>

namespace {

bool attributesOf(const String& path, DWORD& attributes)
{
    attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES;
}

bool isFolderPath(const String& path)
{
    DWORD a;
    return attributesOf(path, a) && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}

bool fileExists(const String& path)
{
    DWORD a;
    return attributesOf(path, a) && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool isDirectory(const String& path)
{
    return isFolderPath(path);
}

bool isFileInUse(const String& path)
{
    DWORD a;
    if (!attributesOf(path, a))
        return false;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return true;
    CloseHandle(h);
    return false;
}

unsigned long fileSizeOf(const String& path)
{
    // The first entry the search finds: a wildcard gives the first match, a
    // folder its own entry.
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    FindClose(search);
    return found.nFileSizeLow;
}

bool setReadOnly(const String& path, bool readOnly)
{
    DWORD a;
    if (!attributesOf(path, a))
        return false;
    bool isReadOnly = (a & FILE_ATTRIBUTE_READONLY) != 0;
    if (isReadOnly == readOnly)
        return true;
    DWORD wanted = readOnly ? (a | FILE_ATTRIBUTE_READONLY) : (a & ~DWORD(FILE_ATTRIBUTE_READONLY));
    // SetFileAttributes refuses FILE_ATTRIBUTE_NORMAL combined with others and
    // treats 0 as "no change"; a plain file with no bits left is NORMAL.
    if (wanted == 0)
        wanted = FILE_ATTRIBUTE_NORMAL;
    return SetFileAttributesA(path.c_str(), wanted) != 0;
}

bool deleteFile(const String& path)
{
    DWORD a;
    if (!attributesOf(path, a))
        return false;
    bool wasReadOnly = (a & FILE_ATTRIBUTE_READONLY) != 0;
    if (wasReadOnly)
        setReadOnly(path, false);
    if (DeleteFileA(path.c_str()))
        return true;
    if (wasReadOnly)
        setReadOnly(path, true);
    return false;
}

bool removeDirectory(const String& path)
{
    return RemoveDirectoryA(path.c_str()) != 0;
}

bool copyFile(const String& from, const String& to, bool overwrite)
{
    if (!createParentFolders(PathParts(to)))
        return false;
    return CopyFileA(from.c_str(), to.c_str(), overwrite ? FALSE : TRUE) != 0;
}

// Replacing goes through one MoveFileEx call, so a move that fails leaves the
// old target in place instead of deleting it first.
bool moveFile(const String& from, const String& to, bool replace)
{
    if (!replace)
        return MoveFileA(from.c_str(), to.c_str()) != 0;
    DWORD a;
    bool clearedReadOnly = false;
    if (attributesOf(to, a) && !(a & FILE_ATTRIBUTE_DIRECTORY) && (a & FILE_ATTRIBUTE_READONLY))
        clearedReadOnly = setReadOnly(to, false);
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
        return true;
    if (clearedReadOnly)
        setReadOnly(to, true);
    return false;
}

bool moveFileInto(const PathParts& source, const String& folder, bool replace)
{
    String target = normalizePath(folder);
    if (!createDirectoryPath(target))
        return false;
    target += source.fileName();
    return moveFile(String(source.fullPath()), target, replace);
}

bool createParentFolders(const PathParts& parts)
{
    return createDirectoryPath(String(parts.driveAndFolder()));
}

String normalizePath(const String& path)
{
    String p(path);
    p += "/";
    p.replaceAll("\\", "/", 2);
    p.replace("//", "/", 1);
    return p;
}

// Walks up to the first existing folder, then creates the missing ones top
// down. A driveless chain ends at "//" (the root of the current drive), which
// the plain recursion would revisit forever.
bool createDirectoryPath(const String& path)
{
    String p = normalizePath(path);
    std::vector<String> missing;
    for (;;) {
        if (p.empty())
            return false;
        DWORD a;
        if (attributesOf(p, a)) {
            if (a & FILE_ATTRIBUTE_DIRECTORY)
                break;
            return false;
        }
        if (p == "//") {
            if (isFolderPath(String("/")))
                break;
            return false;
        }
        missing.push_back(p);
        String parent(p);
        parent.takeField("/", -2);
        String next = normalizePath(parent);
        if (next == p)
            return false;
        p = next;
    }
    for (size_t i = missing.size(); i-- > 0;) {
        if (!CreateDirectoryA(missing[i].c_str(), nullptr)) {
            if (!(GetLastError() == ERROR_ALREADY_EXISTS && isFolderPath(missing[i])))
                return false;
        }
    }
    return true;
}
