#include "foundation/PutByteSink.h"

PutByteSink::~PutByteSink()
{
}

unsigned int PutByteSink::write(const unsigned char* buffer, unsigned int count)
{
    for (unsigned int i = 0; i < count; ++i)
        putByte(char(buffer[i]));
    return count;
}

unsigned long PutByteSink::pumpFrom(ByteStream& source)
{
    unsigned char block[512];
    unsigned long total = 0;
    while (!source.isEnd()) {
        unsigned int n = source.read(block, sizeof(block));
        for (unsigned int i = 0; i < n; ++i)
            putByte(char(block[i]));
        total += n;
    }
    return total;
}
