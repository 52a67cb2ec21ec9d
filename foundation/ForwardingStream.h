#pragma once

#include "foundation/ByteStream.h"

// Wraps an inner stream, deleting it on destruction only when it owns it.
class ForwardingStream : public ByteStream
{
public:
    explicit ForwardingStream(ByteStream* inner, bool ownsInner = false);
    ~ForwardingStream() override;

    unsigned int read(unsigned char* buffer, unsigned int count) override;
    // A missing inner stream counts as ended.
    bool isEnd() const override;

    ByteStream* inner() const { return inner_; }
    bool ownsInner() const { return ownsInner_; }

protected:
    ByteStream* inner_;
    bool ownsInner_;

private:
    ForwardingStream(const ForwardingStream&) = delete;
    ForwardingStream& operator=(const ForwardingStream&) = delete;
};
