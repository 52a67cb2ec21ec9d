#pragma once

#include "foundation/ForwardingStream.h"

// Byte-at-a-time producer over an inner stream read ahead in blocks of up
// to 1,024 bytes. Subclasses produce bytes through getByte.
class BufferedByteReader : public ForwardingStream
{
public:
    explicit BufferedByteReader(ByteStream* inner, bool ownsInner = false);
    ~BufferedByteReader() override;

    // Produces bytes until count is reached or getByte fails; a short read
    // marks the reader ended.
    unsigned int read(unsigned char* buffer, unsigned int count) override;
    bool isEnd() const override;

    // Next produced byte; false when there is none.
    virtual bool getByte(unsigned char& out) = 0;

    enum { kBufferSize = 1024 };

protected:
    // Reads more of the inner stream; true when unread bytes are now held.
    bool fillBuffer();
    // Moves the unread bytes to the start of the buffer.
    void compactBuffer();
    bool bufferEmpty() const { return readIndex_ == fillCount_; }
    // Next raw byte of the inner stream; false when it has none now.
    bool nextByte(unsigned char& out);

    unsigned char buffer_[kBufferSize];
    unsigned int readIndex_;
    unsigned int fillCount_;
    bool ended_;
};
