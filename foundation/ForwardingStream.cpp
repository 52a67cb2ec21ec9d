#include "foundation/ForwardingStream.h"

ForwardingStream::ForwardingStream(ByteStream* inner, bool ownsInner)
    : inner_(inner), ownsInner_(ownsInner)
{
}

ForwardingStream::~ForwardingStream()
{
    if (ownsInner_ && inner_)
        delete inner_;
    inner_ = nullptr;
}

unsigned int ForwardingStream::read(unsigned char* buffer, unsigned int count)
{
    return inner_ ? inner_->read(buffer, count) : 0;
}

bool ForwardingStream::isEnd() const
{
    return inner_ ? inner_->isEnd() : true;
}
