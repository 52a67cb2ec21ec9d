#include "foundation/Base64Encoder.h"

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Closing texts; tail_ points into one of them once the data is exhausted.
const char kTailOnePad[] = "=\n";
const char kTailTwoPads[] = "==\n";
const char kTailEnd[] = "";

} // namespace

Base64Encoder::Base64Encoder(ByteStream* inner, unsigned int lineLength)
    : Base64Encoder(inner, false, lineLength)
{
}

Base64Encoder::Base64Encoder(ByteStream* inner, bool ownsInner, unsigned int lineLength)
    : BufferedByteReader(inner, ownsInner),
      lineLength_(lineLength),
      charsLeftOnLine_(lineLength),
      bitCount_(0),
      bits_(0),
      tail_(nullptr)
{
}

Base64Encoder::~Base64Encoder()
{
}

bool Base64Encoder::getByte(unsigned char& out)
{
    if (lineLength_ != 0) {
        unsigned int c = charsLeftOnLine_--;
        // A due line break is emitted unless only the closing line feed (or
        // nothing) is left.
        if (c == 0 && (!tail_ || *tail_ == '=')) {
            charsLeftOnLine_ = lineLength_;
            out = '\n';
            return true;
        }
    }
    if (tail_) {
        if (*tail_ == '\0')
            return false;
        out = static_cast<unsigned char>(*tail_++);
        return true;
    }
    if (bitCount_ < 6) {
        unsigned char byte;
        if (nextByte(byte)) {
            bits_ = (bits_ << 8) | byte;
            bitCount_ += 8;
        }
    }
    if (bitCount_ >= 6) {
        bitCount_ -= 6;
        out = static_cast<unsigned char>(kAlphabet[(bits_ >> bitCount_) & 63]);
        return true;
    }
    if (bitCount_ == 4) {
        out = static_cast<unsigned char>(kAlphabet[(bits_ & 15) * 4]);
        tail_ = kTailOnePad;
    } else if (bitCount_ == 2) {
        out = static_cast<unsigned char>(kAlphabet[(bits_ & 3) * 16]);
        tail_ = kTailTwoPads;
    } else {
        tail_ = kTailEnd;
        out = '\n';
    }
    return true;
}
