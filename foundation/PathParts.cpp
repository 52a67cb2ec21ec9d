#include "foundation/PathParts.h"

PathParts::PathParts()
{
}

PathParts::PathParts(const std::string& path)
{
    set(path);
}

PathParts::~PathParts()
{
}

// Splits like the C library's _splitpath, but without its fixed-size field
// buffers, so long components are kept whole instead of overrunning them.
void PathParts::set(const std::string& path)
{
    size_t pos = 0;
    drive.clear();
    if (path.size() >= 2 && path[1] == ':') {
        drive = path.substr(0, 2);
        pos = 2;
    }
    size_t lastSep = path.find_last_of("\\/");
    std::string folderText;
    if (lastSep != std::string::npos && lastSep >= pos) {
        folderText = path.substr(pos, lastSep + 1 - pos);
        pos = lastSep + 1;
    }
    std::string base = path.substr(pos);
    size_t dot = base.find_last_of('.');
    if (dot == std::string::npos) {
        name = base;
        ext.clear();
    } else {
        name = base.substr(0, dot);
        ext = base.substr(dot);
    }

    folder = folderText;
    folder.replaceAll("\\", "/", 0);
    folder.replace("//", "/", 0);
    if (drive.empty())
        drive = "/";
}

std::string PathParts::driveAndFolder() const
{
    return drive + folder;
}

std::string PathParts::fileName() const
{
    return name + ext;
}

std::string PathParts::fullPath() const
{
    return drive + folder + name + ext;
}
