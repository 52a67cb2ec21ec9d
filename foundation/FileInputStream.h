#pragma once

#include "foundation/ByteStream.h"
#include "foundation/FileHandle.h"

// A ByteStream over an open file handle, which it owns. The end is reported
// only after a read has returned no bytes.
class FileInputStream : public ByteStream
{
public:
    explicit FileInputStream(HANDLE handle);
    ~FileInputStream() override;

    unsigned int read(unsigned char* buffer, unsigned int count) override;
    bool isEnd() const override;

    virtual unsigned long seek(long position);
    virtual unsigned long seekRelative(long delta);
    virtual unsigned long seekFromEnd(long offset);
    virtual unsigned long tell();
    virtual unsigned long size();

    // The size asked once and kept; `refresh` asks again.
    unsigned long sizeCached(bool refresh);

protected:
    unsigned char ended;
    FileHandle handle;
    unsigned long cachedSize;
};
