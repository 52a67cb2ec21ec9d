#include "foundation/InflateStream.h"

#include <zlib.h>

InflateStream::InflateStream(ByteStream* inner, bool ownsInner)
    : CompressedStream(inner, ownsInner)
{
    initialised_ = inflateInit(zstream_) == Z_OK;
}

InflateStream::~InflateStream()
{
    if (initialised_)
        inflateEnd(zstream_);
}

void InflateStream::step()
{
    int result;
    if (!ForwardingStream::isEnd()) {
        if (refillInput() == 0)
            return;
        result = inflate(zstream_, Z_NO_FLUSH);
    } else {
        // Truncated data ends here: Z_FINISH reports the missing rest as an
        // error instead of waiting for input that never comes.
        result = inflate(zstream_, Z_NO_FLUSH);
        if (result != Z_OK)
            result = inflate(zstream_, Z_FINISH);
    }
    checkResult(result);
}
