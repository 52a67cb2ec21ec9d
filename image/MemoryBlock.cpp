#include "image/MemoryBlock.h"

MemoryBlock::~MemoryBlock()
{
    delete[] data_;
}

void MemoryBlock::allocate(size_t n)
{
    delete[] data_;
    data_ = nullptr;
    size_ = 0;
    if (n > 0) {
        data_ = new uint8_t[n]();
        size_ = n;
    }
}
