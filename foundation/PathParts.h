#pragma once

#include "foundation/String.h"

#include <string>

// A path split into drive, folder, name and extension. The folder uses "/"
// separators, has no doubled separators and keeps its trailing "/"; the drive
// is "/" when the path has none.
class PathParts
{
public:
    PathParts();
    explicit PathParts(const std::string& path);
    virtual ~PathParts();

    void set(const std::string& path);

    std::string driveAndFolder() const;
    std::string fileName() const;
    std::string fullPath() const;

    std::string drive;
    String folder;
    std::string name;
    std::string ext;
};
