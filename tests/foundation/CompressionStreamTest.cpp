#include <cstring>
#include <string>

#include <gtest/gtest.h>
#include <zlib.h>

#include "foundation/DeflateStream.h"
#include "foundation/Exception.h"
#include "foundation/InflateStream.h"

namespace {

// Hands out a string's bytes, at most chunk bytes per read; counts its own
// destruction so ownership can be checked.
class MemoryStream : public ByteStream
{
public:
    MemoryStream(const std::string& data, unsigned chunk = 0xFFFFFFFFu, int* deleted = nullptr)
        : data_(data), chunk_(chunk), deleted_(deleted) {}
    ~MemoryStream() override
    {
        if (deleted_)
            ++*deleted_;
    }
    unsigned int read(unsigned char* buffer, unsigned int count) override
    {
        size_t n = data_.size() - pos_;
        if (n > count)
            n = count;
        if (n > chunk_)
            n = chunk_;
        std::memcpy(buffer, data_.data() + pos_, n);
        pos_ += n;
        return static_cast<unsigned int>(n);
    }
    bool isEnd() const override { return pos_ == data_.size(); }

private:
    std::string data_;
    size_t pos_ = 0;
    unsigned chunk_;
    int* deleted_;
};

// Reads until the stream reports its end; a safety bound turns a hang into
// a failure.
std::string drain(ByteStream& s, unsigned blockSize = 1000)
{
    std::string out;
    std::string block(blockSize, '\0');
    for (int guard = 0; !s.isEnd(); ++guard) {
        if (guard > 1000000) {
            ADD_FAILURE() << "stream never ended";
            break;
        }
        const unsigned n = s.read(reinterpret_cast<unsigned char*>(&block[0]), blockSize);
        out.append(block, 0, n);
    }
    return out;
}

std::string deflated(const std::string& data, int level = -1)
{
    DeflateStream d(new MemoryStream(data), true, level);
    return drain(d);
}

std::string inflated(const std::string& data, unsigned chunk = 0xFFFFFFFFu, unsigned blockSize = 1000)
{
    InflateStream i(new MemoryStream(data, chunk), true);
    return drain(i, blockSize);
}

std::string pseudoRandom(size_t n)
{
    std::string s(n, '\0');
    uint32_t x = 12345;
    for (size_t i = 0; i < n; ++i) {
        x = x * 214013u + 2531011u;
        // Mostly text-like so that deflate has something to find.
        s[i] = static_cast<char>((x >> 16) % 7 == 0 ? (x >> 8) : 'a' + (x >> 16) % 5);
    }
    return s;
}

uint32_t streamExceptionOf(const std::string& data)
{
    try {
        inflated(data);
    } catch (const Exception& e) {
        return e.code;
    }
    return 0;
}

} // namespace

TEST(CompressionStreams, EmptyInputGivesTheEmptyZlibStream)
{
    const std::string z = deflated("");
    ASSERT_GE(z.size(), 8u);
    EXPECT_EQ(static_cast<unsigned char>(z[0]), 0x78);
    uLongf len = 16;
    unsigned char out[16];
    EXPECT_EQ(uncompress(out, &len, reinterpret_cast<const Bytef*>(z.data()), z.size()), Z_OK);
    EXPECT_EQ(len, 0u);
    EXPECT_EQ(inflated(z), "");
}

TEST(CompressionStreams, RoundTripsSmallAndLargeData)
{
    const std::string small = "hello, hello, hello";
    EXPECT_EQ(inflated(deflated(small)), small);

    const std::string big = pseudoRandom(1 << 20);
    const std::string z = deflated(big, 9);
    EXPECT_LT(z.size(), big.size());
    // zlib itself agrees on the format.
    std::string check(big.size(), '\0');
    uLongf len = check.size();
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(&check[0]), &len, reinterpret_cast<const Bytef*>(z.data()),
                         z.size()),
              Z_OK);
    EXPECT_EQ(len, big.size());
    EXPECT_TRUE(check == big);
    EXPECT_TRUE(inflated(z) == big);
    // Trickling input and tiny output buffers give the same bytes.
    EXPECT_TRUE(inflated(z, 7, 13) == big);
}

TEST(CompressionStreams, EndIsReportedWithTheLastByte)
{
    const std::string data = pseudoRandom(5000);
    InflateStream s(new MemoryStream(deflated(data)), true);
    std::string out;
    unsigned char block[512];
    while (!s.isEnd()) {
        const unsigned n = s.read(block, sizeof block);
        out.append(reinterpret_cast<char*>(block), n);
        if (out.size() < data.size()) {
            EXPECT_FALSE(s.isEnd());
        }
    }
    EXPECT_TRUE(out == data);
    // Reading past the end yields nothing.
    EXPECT_EQ(s.read(block, sizeof block), 0u);
}

TEST(CompressionStreams, JunkAndTruncatedDataThrow)
{
    EXPECT_EQ(streamExceptionOf("this is not zlib data at all"), kStreamException);
    const std::string z = deflated(pseudoRandom(20000));
    EXPECT_EQ(streamExceptionOf(z.substr(0, z.size() / 2)), kStreamException);
    EXPECT_EQ(streamExceptionOf(z.substr(0, z.size() - 2)), kStreamException);
    EXPECT_EQ(streamExceptionOf(z.substr(0, 1)), kStreamException);
    std::string corrupt = z;
    corrupt[corrupt.size() - 1] ^= 0x55;
    EXPECT_EQ(streamExceptionOf(corrupt), kStreamException);
}

TEST(CompressionStreams, ZeroCountReadsCannotProgressAndThrow)
{
    unsigned char b[1];
    DeflateStream d(new MemoryStream("abc"), true);
    EXPECT_THROW(d.read(b, 0), Exception);

    // Inflate may first consume the header without output; after that it
    // is stuck and must say so rather than spin.
    InflateStream s(new MemoryStream(deflated("abc")), true);
    uint32_t code = 0;
    try {
        for (int i = 0; i < 10; ++i)
            s.read(b, 0);
    } catch (const Exception& e) {
        code = e.code;
    }
    EXPECT_EQ(code, kStreamException);
}

TEST(CompressionStreams, InvalidLevelIsReportedNotUsed)
{
    DeflateStream s(new MemoryStream("abc"), true, 42);
    unsigned char b[64];
    try {
        s.read(b, sizeof b);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.code, kStreamException);
    }
}

TEST(CompressionStreams, OwnsInnerOnlyWhenTold)
{
    int deleted = 0;
    MemoryStream* kept = new MemoryStream("x", 0xFFFFFFFFu, &deleted);
    {
        DeflateStream s(kept, false);
        drain(s);
    }
    EXPECT_EQ(deleted, 0);
    {
        InflateStream s(kept, true);
    }
    EXPECT_EQ(deleted, 1);
}
