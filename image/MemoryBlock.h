#pragma once

#include <cstddef>
#include <cstdint>

// A small owned, zero-filled byte block used as scratch memory.
class MemoryBlock
{
public:
    MemoryBlock() : size_(0), data_(nullptr) {}
    MemoryBlock(const MemoryBlock&) = delete;
    MemoryBlock& operator=(const MemoryBlock&) = delete;
    ~MemoryBlock();

    // Frees the old block; for n > 0 allocates n zero bytes.
    void allocate(size_t n);

    size_t size() const { return size_; }
    uint8_t* data() const { return data_; }

private:
    size_t size_;
    uint8_t* data_;
};
