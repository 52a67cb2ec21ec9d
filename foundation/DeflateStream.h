#pragma once

#include "foundation/CompressedStream.h"

// Yields the zlib-format compressed form of what its inner stream yields.
class DeflateStream : public CompressedStream
{
public:
    // level: zlib compression level, -1 (default) to 9. An invalid level
    // makes the first read throw kStreamException.
    DeflateStream(ByteStream* inner, bool ownsInner, int level = -1);
    ~DeflateStream() override;

protected:
    void step() override;

private:
    int level_;
};
