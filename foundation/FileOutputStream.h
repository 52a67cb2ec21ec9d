#pragma once

#include "foundation/ByteSink.h"
#include "foundation/FileHandle.h"

// A ByteSink over an open file handle, which it owns.
class FileOutputStream : public ByteSink
{
public:
    explicit FileOutputStream(HANDLE handle);
    ~FileOutputStream() override;

    unsigned int write(const unsigned char* buffer, unsigned int count) override;

protected:
    FileHandle handle;
};
