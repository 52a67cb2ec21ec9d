#pragma once

#include "foundation/ByteSink.h"

// Writes into a caller-owned buffer of fixed capacity; a write that finds no
// room left throws the overflow exception.
class FixedBufferWriter : public ByteSink
{
public:
    FixedBufferWriter(void* buffer, unsigned int capacity);

    unsigned int write(const unsigned char* data, unsigned int count) override;

    unsigned int length() const { return length_; }

private:
    unsigned char* buffer_;
    unsigned int capacity_;
    unsigned int length_;
};
