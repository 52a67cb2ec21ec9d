#pragma once

#include "foundation/FileOutputStream.h"
#include "foundation/String.h"

// Opens a file for writing, shared with readers only. Mode 0 creates or
// truncates; mode 2 appends; any other mode overwrites from the start and
// leaves the tail of a longer old file in place.
class FileWriter : public FileOutputStream
{
public:
    FileWriter(const String& path, int mode);
};
