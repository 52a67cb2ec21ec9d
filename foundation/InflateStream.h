#pragma once

#include "foundation/CompressedStream.h"

// Yields the decompressed form of the zlib data its inner stream yields.
// Corrupt or truncated data throws kStreamException.
class InflateStream : public CompressedStream
{
public:
    InflateStream(ByteStream* inner, bool ownsInner);
    ~InflateStream() override;

protected:
    void step() override;
};
