#include "foundation/CompressedStream.h"

#include <zlib.h>

#include "foundation/Exception.h"

CompressedStream::CompressedStream(ByteStream* inner, bool ownsInner)
    : ForwardingStream(inner, ownsInner), zstream_(new z_stream()), finished_(false), initialised_(false)
{
    // Null allocation callbacks and opaque: zlib uses its own allocator.
    zstream_->zalloc = Z_NULL;
    zstream_->zfree = Z_NULL;
    zstream_->opaque = Z_NULL;
    zstream_->next_in = Z_NULL;
    zstream_->avail_in = 0;
}

CompressedStream::~CompressedStream()
{
    delete zstream_;
}

unsigned int CompressedStream::read(unsigned char* buffer, unsigned int count)
{
    requireInitialised();
    // Past the end zlib has nothing more to give; asking again would only
    // provoke a state error.
    if (finished_)
        return 0;
    zstream_->next_out = buffer;
    zstream_->avail_out = count;
    step();
    return count - zstream_->avail_out;
}

unsigned int CompressedStream::refillInput()
{
    if (zstream_->avail_in == 0) {
        zstream_->next_in = buffer_;
        zstream_->avail_in = inner_ ? inner_->read(buffer_, kBlockSize) : 0;
    }
    return zstream_->avail_in;
}

void CompressedStream::checkResult(int result)
{
    if (result == Z_STREAM_END)
        finished_ = true;
    else if (result != Z_OK)
        throw Exception(kStreamException);
}

void CompressedStream::requireInitialised() const
{
    if (!initialised_)
        throw Exception(kStreamException);
}
