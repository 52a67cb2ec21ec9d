#pragma once

#include "foundation/BufferedByteReader.h"

// Produces the Base64 text (standard alphabet, "=" padding) of everything
// the inner stream yields, broken into lines of lineLength characters by a
// line feed and always closed by a line feed. A line length of 0 gives one
// unbroken line.
class Base64Encoder : public BufferedByteReader
{
public:
    Base64Encoder(ByteStream* inner, unsigned int lineLength);
    Base64Encoder(ByteStream* inner, bool ownsInner, unsigned int lineLength);
    ~Base64Encoder() override;

    bool getByte(unsigned char& out) override;

private:
    unsigned int lineLength_;
    unsigned int charsLeftOnLine_;
    int bitCount_;
    unsigned int bits_;
    const char* tail_;
};
