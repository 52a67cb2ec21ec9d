#include "foundation/BufferedByteReader.h"

#include <cstring>

BufferedByteReader::BufferedByteReader(ByteStream* inner, bool ownsInner)
    : ForwardingStream(inner, ownsInner), readIndex_(0), fillCount_(0), ended_(false)
{
}

BufferedByteReader::~BufferedByteReader()
{
}

unsigned int BufferedByteReader::read(unsigned char* buffer, unsigned int count)
{
    for (unsigned int i = 0; i < count; ++i) {
        if (!getByte(buffer[i])) {
            ended_ = true;
            return i;
        }
    }
    return count;
}

bool BufferedByteReader::isEnd() const
{
    return ended_;
}

void BufferedByteReader::compactBuffer()
{
    if (readIndex_ == 0)
        return;
    unsigned int unread = fillCount_ - readIndex_;
    if (unread)
        std::memmove(buffer_, buffer_ + readIndex_, unread);
    fillCount_ = unread;
    readIndex_ = 0;
}

bool BufferedByteReader::fillBuffer()
{
    if (!inner_ || inner_->isEnd())
        return false;
    compactBuffer();
    unsigned int room = kBufferSize - fillCount_;
    if (room) {
        unsigned int got = inner_->read(buffer_ + fillCount_, room);
        // A stream that claims more than it was asked for is not trusted.
        if (got > room)
            got = room;
        fillCount_ += got;
    }
    return !bufferEmpty();
}

bool BufferedByteReader::nextByte(unsigned char& out)
{
    if (bufferEmpty() && !fillBuffer())
        return false;
    out = buffer_[readIndex_++];
    return true;
}
