#include "plugin/FixedBufferWriter.h"

#include <cstring>

#include "foundation/Exception.h"

FixedBufferWriter::FixedBufferWriter(void* buffer, unsigned int capacity)
    : buffer_(static_cast<unsigned char*>(buffer)), capacity_(buffer ? capacity : 0), length_(0)
{
}

unsigned int FixedBufferWriter::write(const unsigned char* data, unsigned int count)
{
    if (count == 0 || int(count) < 0)
        return 0;
    if (length_ >= capacity_)
        throw Exception(0x5009010);
    const unsigned int room = capacity_ - length_;
    const unsigned int n = count < room ? count : room;
    std::memcpy(buffer_ + length_, data, n);
    length_ += n;
    return n;
}
