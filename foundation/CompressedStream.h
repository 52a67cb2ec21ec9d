#pragma once

#include "foundation/ForwardingStream.h"

struct z_stream_s;

// A zlib filter over an inner stream: pulls input in 4,096-byte blocks and
// produces output straight into the caller's buffer. zlib errors throw
// Exception kStreamException; the filter is not usable afterwards.
class CompressedStream : public ForwardingStream
{
public:
    CompressedStream(ByteStream* inner, bool ownsInner);
    ~CompressedStream() override;

    // One zlib step into buffer; the bytes produced. 0 does not mean the
    // end: isEnd() does.
    unsigned int read(unsigned char* buffer, unsigned int count) override;
    bool isEnd() const override { return finished_; }

protected:
    enum { kBlockSize = 4096 };

    // One zlib call sequence.
    virtual void step() = 0;
    // Refills zlib's input from the inner stream when it is empty; the
    // input count afterwards.
    unsigned int refillInput();
    // Checks a zlib result: the stream end sets the finished flag, Z_OK
    // passes, anything else throws.
    void checkResult(int result);
    // Throws when the zlib initialisation of the derived class failed.
    void requireInitialised() const;

    z_stream_s* zstream_;
    unsigned char buffer_[kBlockSize];
    bool finished_;
    bool initialised_;
};
