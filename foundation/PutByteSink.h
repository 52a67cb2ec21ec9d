#pragma once

#include "foundation/ByteSink.h"
#include "foundation/ByteStream.h"

// A sink that takes its bytes one at a time.
class PutByteSink : public ByteSink
{
public:
    ~PutByteSink() override;

    unsigned int write(const unsigned char* buffer, unsigned int count) override;
    virtual void putByte(char c) = 0;

    // Feeds everything `source` yields, in 512-byte reads until it reports
    // its end; returns the number of bytes read.
    unsigned long pumpFrom(ByteStream& source);
};
