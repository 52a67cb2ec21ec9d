#pragma once

#include "foundation/FileInputStream.h"
#include "foundation/String.h"

// Opens an existing file for reading, shared with other readers only.
class FileReader : public FileInputStream
{
public:
    explicit FileReader(const String& path);
};
