#pragma once

#include "foundation/ByteSink.h"
#include "foundation/ByteStream.h"
#include "foundation/FileTestFolder.h"

#include <cstdint>
#include <string>
#include <vector>

typedef FileTestFolder ScratchFolder;

// Collects written bytes; takes at most `limit` of them in all.
class MemorySink : public ByteSink
{
public:
    explicit MemorySink(size_t limit = SIZE_MAX) : limit_(limit) {}
    unsigned int write(const unsigned char* buffer, unsigned int count) override
    {
        const size_t room = limit_ - data.size();
        const unsigned int taken = count < room ? count : unsigned(room);
        data.insert(data.end(), buffer, buffer + taken);
        return taken;
    }
    std::vector<uint8_t> data;

private:
    size_t limit_;
};

class ThrowingSink : public ByteSink
{
public:
    unsigned int write(const unsigned char*, unsigned int) override { throw 1; }
};

// Hands out one byte per read.
class OneByteAtATime : public ByteStream
{
public:
    explicit OneByteAtATime(const std::vector<uint8_t>& data) : data_(data) {}
    unsigned int read(unsigned char* buffer, unsigned int count) override
    {
        if (count == 0 || at_ >= data_.size())
            return 0;
        buffer[0] = data_[at_++];
        return 1;
    }
    bool isEnd() const override { return at_ >= data_.size(); }

private:
    const std::vector<uint8_t>& data_;
    size_t at_ = 0;
};

inline std::vector<uint8_t> readBytes(const std::string& path)
{
    const std::string text = FileTestFolder::readBytes(path);
    return std::vector<uint8_t>(text.begin(), text.end());
}
