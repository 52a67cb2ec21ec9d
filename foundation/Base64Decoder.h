#pragma once

#include "foundation/BufferedByteReader.h"

// Decodes Base64 text from the inner stream. Characters outside the
// alphabet (line breaks, spaces) are skipped; "=" pad characters suppress
// the bytes their zero bits would complete. One decoder reads one text.
class Base64Decoder : public BufferedByteReader
{
public:
    explicit Base64Decoder(ByteStream* inner, bool ownsInner = false);
    ~Base64Decoder() override;

    bool getByte(unsigned char& out) override;

private:
    int bitCount_;
    unsigned int bits_;
    int padBits_;
};
