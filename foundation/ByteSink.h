#pragma once

// A destination that accepts bytes.
class ByteSink
{
public:
    virtual ~ByteSink() {}
    // Returns how many bytes it took.
    virtual unsigned int write(const unsigned char* buffer, unsigned int count) = 0;
};
