#pragma once

#include "foundation/ByteBuffer.h"
#include "foundation/String.h"

// Byte queue held in the String's text: the front of the text is the front
// of the queue. Any byte value, NUL included, may be queued.
class StringBuffer : public String, public ByteBuffer
{
public:
    enum : unsigned int { kCapacity = 2147483647u };

    StringBuffer();
    explicit StringBuffer(const String& text);
    ~StringBuffer() override;

    unsigned int read(unsigned char* buffer, unsigned int count) override;
    bool isEnd() const override;
    // Appends every byte; the capacity is not consulted.
    unsigned int write(const unsigned char* buffer, unsigned int count) override;

    unsigned int size() const override;
    unsigned int freeSpace() const override;
    bool isEmpty() const override;
    bool isFull() const override;
    void clear() override;
    unsigned int fillOnce(ByteStream& source) override;
    unsigned int drainOnce(ByteSink& sink) override;

    // Fills until the source reports its end; returns the bytes added.
    unsigned int fillUntilEnd(ByteStream& source);
    // Drains until empty or until the sink stops taking bytes; returns the
    // bytes the sink took.
    unsigned int drainAll(ByteSink& sink);

private:
    StringBuffer(const StringBuffer&) = delete;
    StringBuffer& operator=(const StringBuffer&) = delete;
};
