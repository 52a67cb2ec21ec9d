#include "foundation/StringBuffer.h"

#include <cstring>

namespace {
const unsigned int kFillChunk = 512;
}

StringBuffer::StringBuffer()
{
}

StringBuffer::StringBuffer(const String& text) : String(text)
{
}

StringBuffer::~StringBuffer()
{
}

unsigned int StringBuffer::read(unsigned char* buffer, unsigned int count)
{
    unsigned int n = size();
    if (count < n)
        n = count;
    if (n == 0)
        return 0;
    std::memcpy(buffer, data(), n);
    std::string::erase(0, n);
    return n;
}

bool StringBuffer::isEnd() const
{
    return std::string::empty();
}

unsigned int StringBuffer::write(const unsigned char* buffer, unsigned int count)
{
    if (count)
        append(reinterpret_cast<const char*>(buffer), count);
    return count;
}

unsigned int StringBuffer::size() const
{
    return static_cast<unsigned int>(std::string::size());
}

unsigned int StringBuffer::freeSpace() const
{
    unsigned int used = size();
    return used >= kCapacity ? 0u : kCapacity - used;
}

bool StringBuffer::isEmpty() const
{
    return std::string::empty();
}

bool StringBuffer::isFull() const
{
    return size() >= kCapacity;
}

void StringBuffer::clear()
{
    std::string::clear();
}

unsigned int StringBuffer::fillOnce(ByteStream& source)
{
    unsigned char chunk[kFillChunk];
    unsigned int got = source.read(chunk, kFillChunk);
    if (got > kFillChunk)
        got = kFillChunk;
    return write(chunk, got);
}

unsigned int StringBuffer::drainOnce(ByteSink& sink)
{
    if (isEmpty())
        return 0;
    unsigned int taken = sink.write(reinterpret_cast<const unsigned char*>(data()), size());
    unsigned int removed = taken < size() ? taken : size();
    std::string::erase(0, removed);
    return taken;
}

unsigned int StringBuffer::fillUntilEnd(ByteStream& source)
{
    unsigned int total = 0;
    while (!source.isEnd())
        total += fillOnce(source);
    return total;
}

unsigned int StringBuffer::drainAll(ByteSink& sink)
{
    unsigned int total = 0;
    while (!isEmpty()) {
        unsigned int taken = drainOnce(sink);
        // A sink that takes nothing would never let the queue empty.
        if (taken == 0)
            break;
        total += taken;
    }
    return total;
}
