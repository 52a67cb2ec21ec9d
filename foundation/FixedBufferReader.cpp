#include "foundation/FixedBufferReader.h"

#include <cstring>

FixedBufferReader::FixedBufferReader(const void* data, unsigned int size)
    : data_(static_cast<const unsigned char*>(data)), size_(data ? size : 0), position_(0)
{
}

FixedBufferReader::~FixedBufferReader()
{
}

unsigned int FixedBufferReader::read(unsigned char* buffer, unsigned int count)
{
    unsigned int n = size_ - position_;
    if (count < n)
        n = count;
    if (n == 0)
        return 0;
    std::memcpy(buffer, data_ + position_, n);
    position_ += n;
    return n;
}

bool FixedBufferReader::isEnd() const
{
    return position_ == size_;
}
