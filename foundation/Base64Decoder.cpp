#include "foundation/Base64Decoder.h"

namespace {

const unsigned char kSkip = 255;

struct DecodeTable {
    unsigned char value[128];
    DecodeTable()
    {
        for (int i = 0; i < 128; ++i)
            value[i] = kSkip;
        for (int i = 0; i < 26; ++i) {
            value['A' + i] = static_cast<unsigned char>(i);
            value['a' + i] = static_cast<unsigned char>(26 + i);
        }
        for (int i = 0; i < 10; ++i)
            value['0' + i] = static_cast<unsigned char>(52 + i);
        value['+'] = 62;
        value['/'] = 63;
        value['='] = 0;
    }
};

const DecodeTable& decodeTable()
{
    static const DecodeTable table;
    return table;
}

} // namespace

Base64Decoder::Base64Decoder(ByteStream* inner, bool ownsInner)
    : BufferedByteReader(inner, ownsInner), bitCount_(0), bits_(0), padBits_(0)
{
}

Base64Decoder::~Base64Decoder()
{
}

bool Base64Decoder::getByte(unsigned char& out)
{
    const DecodeTable& table = decodeTable();
    for (;;) {
        unsigned char b;
        if (!nextByte(b))
            return false;
        if (b == '=')
            padBits_ += 6;
        // Bytes with the high bit set are looked up by their low seven bits.
        unsigned char v = table.value[b & 0x7F];
        if (v == kSkip)
            continue;
        // Text that goes on after its pad characters grows both counts
        // without end; dropping the oldest sextets from both keeps every
        // shift within 32 bits. Well-formed text never gets here.
        if (bitCount_ >= 24 && padBits_ >= 6) {
            while (bitCount_ >= 24 && padBits_ >= 6) {
                bitCount_ -= 6;
                padBits_ -= 6;
            }
            bits_ &= (1u << bitCount_) - 1u;
        }
        bits_ = (bits_ << 6) | v;
        bitCount_ += 6;
        if (bitCount_ >= padBits_ + 8) {
            bitCount_ -= 8;
            out = static_cast<unsigned char>((bits_ >> bitCount_) & 0xFF);
            bits_ &= (1u << bitCount_) - 1u;
            return true;
        }
    }
}
