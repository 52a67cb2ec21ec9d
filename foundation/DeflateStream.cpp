#include "foundation/DeflateStream.h"

#include <zlib.h>

DeflateStream::DeflateStream(ByteStream* inner, bool ownsInner, int level)
    : CompressedStream(inner, ownsInner), level_(level)
{
    initialised_ = deflateInit(zstream_, level_) == Z_OK;
}

DeflateStream::~DeflateStream()
{
    if (initialised_)
        deflateEnd(zstream_);
}

void DeflateStream::step()
{
    if (!ForwardingStream::isEnd() && zstream_->avail_in == 0) {
        if (refillInput() == 0)
            return;
    }
    // Without new input Z_NO_FLUSH cannot progress; once the inner stream
    // has ended the Z_FINISH call flushes the rest over as many reads as the
    // output needs.
    int result = deflate(zstream_, Z_NO_FLUSH);
    if (result != Z_OK)
        result = deflate(zstream_, Z_FINISH);
    checkResult(result);
}
