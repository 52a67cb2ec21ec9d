#pragma once

#include "foundation/ByteSink.h"
#include "foundation/ByteStream.h"

// An in-memory first-in-first-out byte queue that is both a stream and a
// sink.
class ByteBuffer : public ByteStream, public ByteSink
{
public:
    ~ByteBuffer() override {}

    virtual unsigned int size() const = 0;
    virtual unsigned int freeSpace() const = 0;
    virtual bool isEmpty() const = 0;
    virtual bool isFull() const = 0;
    virtual void clear() = 0;
    // One read of the source appended to the queue; returns the count.
    virtual unsigned int fillOnce(ByteStream& source) = 0;
    // One write of the queue's content to the sink; removes what it took.
    virtual unsigned int drainOnce(ByteSink& sink) = 0;
};
