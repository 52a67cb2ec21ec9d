#pragma once

#include "foundation/ByteStream.h"

// Reads a block of memory owned by someone else; the memory must outlive
// the reader.
class FixedBufferReader : public ByteStream
{
public:
    FixedBufferReader(const void* data, unsigned int size);
    ~FixedBufferReader() override;

    unsigned int read(unsigned char* buffer, unsigned int count) override;
    bool isEnd() const override;

    unsigned int position() const { return position_; }
    unsigned int size() const { return size_; }

private:
    FixedBufferReader(const FixedBufferReader&) = delete;
    FixedBufferReader& operator=(const FixedBufferReader&) = delete;

    const unsigned char* data_;
    unsigned int size_;
    unsigned int position_;
};
