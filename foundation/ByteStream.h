#pragma once

// A source that hands out bytes on request.
class ByteStream
{
public:
    virtual ~ByteStream() {}
    // Copies up to count bytes and returns how many; 0 does not by itself
    // mean the end: only isEnd() tells that.
    virtual unsigned int read(unsigned char* buffer, unsigned int count) = 0;
    virtual bool isEnd() const { return false; }
};
