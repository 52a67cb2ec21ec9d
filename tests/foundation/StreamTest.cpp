#include <gtest/gtest.h>

#include <string>

#include "foundation/Base64Decoder.h"
#include "foundation/Base64Encoder.h"
#include "foundation/FixedBufferReader.h"
#include "foundation/ForwardingStream.h"
#include "foundation/StringBuffer.h"

namespace {

std::string readAll(ByteStream& s)
{
    std::string out;
    unsigned char chunk[7];
    // Small odd chunks cross the reader's block boundaries.
    for (int guard = 0; guard < 1000000 && !s.isEnd(); ++guard) {
        unsigned int n = s.read(chunk, sizeof chunk);
        out.append(reinterpret_cast<const char*>(chunk), n);
    }
    return out;
}

std::string encode(const std::string& data, unsigned int lineLength)
{
    FixedBufferReader in(data.data(), unsigned(data.size()));
    Base64Encoder enc(&in, lineLength);
    return readAll(enc);
}

std::string decode(const std::string& text)
{
    FixedBufferReader in(text.data(), unsigned(text.size()));
    Base64Decoder dec(&in);
    return readAll(dec);
}

struct CountingStream : ByteStream {
    explicit CountingStream(int* deaths) : deaths(deaths) {}
    ~CountingStream() override { ++*deaths; }
    unsigned int read(unsigned char*, unsigned int) override { return 0; }
    bool isEnd() const override { return true; }
    int* deaths;
};

struct LimitedSink : ByteSink {
    explicit LimitedSink(unsigned int perWrite) : perWrite(perWrite) {}
    unsigned int write(const unsigned char* b, unsigned int n) override
    {
        unsigned int take = n < perWrite ? n : perWrite;
        got.append(reinterpret_cast<const char*>(b), take);
        ++calls;
        return take;
    }
    unsigned int perWrite;
    int calls = 0;
    std::string got;
};

} // namespace

TEST(Base64, EncoderWorkedExamples)
{
    EXPECT_EQ("YWJj\n", encode("abc", 76));
    EXPECT_EQ("YWI=\n", encode("ab", 76));
    EXPECT_EQ("YQ==\n", encode("a", 76));
    EXPECT_EQ("\n", encode("", 76));
    EXPECT_EQ("YWJj\n\n", encode("abc", 4));
    EXPECT_EQ("YWI\n=\n", encode("ab", 3));
    EXPECT_EQ("YWJj\nZA==\n", encode("abcd", 4));
}

TEST(Base64, ZeroLineLengthGivesOneLine)
{
    std::string data(200, 'x');
    std::string text = encode(data, 0);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.find('\n'), text.size() - 1);
    EXPECT_EQ(data, decode(text));
}

TEST(Base64, RoundTripEveryLineLength)
{
    std::string data;
    for (int i = 0; i < 300; ++i)
        data += char((i * 37 + 11) & 0xFF);
    data += std::string(3000, '\0'); // beyond one 1,024-byte block
    for (unsigned int line = 1; line <= 80; ++line) {
        for (size_t len : { size_t(0), size_t(1), size_t(2), size_t(3), size_t(299), data.size() }) {
            std::string part = data.substr(0, len);
            std::string text = encode(part, line);
            ASSERT_EQ(part, decode(text)) << "line " << line << " len " << len;
            // Every line but the closing one is exactly the line length.
            size_t start = 0;
            for (size_t nl = text.find('\n'); nl != std::string::npos && nl + 1 < text.size();
                 nl = text.find('\n', start)) {
                ASSERT_LE(nl - start, line);
                start = nl + 1;
            }
        }
    }
}

TEST(Base64, DecoderSkipsJunkAndHandlesPadding)
{
    EXPECT_EQ("abc", decode("Y W\r\nJ j"));
    EXPECT_EQ("a", decode("YQ=="));
    EXPECT_EQ("ab", decode("YWI="));
    EXPECT_EQ("ab", decode("YWI"));  // missing padding: whole bytes only
    EXPECT_EQ("a", decode("YQ"));
    EXPECT_EQ("", decode("Y"));
    EXPECT_EQ("", decode("!!@@ \t"));
    // High-bit bytes decode by their low seven bits.
    EXPECT_EQ(decode("AAAA"), decode("\xC1\xC1\xC1\xC1"));
}

TEST(Base64, DecoderSurvivesEndlessPadding)
{
    std::string junk = "YQ" + std::string(5000, '=') + "YWJj" + std::string(100, '=');
    std::string out = decode(junk);
    EXPECT_EQ('a', out.empty() ? 0 : out[0]);
}

TEST(Base64, ReadStopsAndMarksEnd)
{
    std::string text = "YWJj";
    FixedBufferReader in(text.data(), 4);
    Base64Decoder dec(&in);
    unsigned char buf[10];
    EXPECT_EQ(0u, dec.read(buf, 0));
    EXPECT_FALSE(dec.isEnd());
    EXPECT_EQ(3u, dec.read(buf, 10));
    EXPECT_TRUE(dec.isEnd());
}

TEST(Streams, ForwardingOwnership)
{
    ForwardingStream none(nullptr);
    unsigned char b[4];
    EXPECT_EQ(0u, none.read(b, 4));
    EXPECT_TRUE(none.isEnd());

    int deaths = 0;
    CountingStream kept(&deaths);
    { ForwardingStream f(&kept, false); }
    EXPECT_EQ(0, deaths);
    { ForwardingStream f(new CountingStream(&deaths), true); }
    EXPECT_EQ(1, deaths);
    { Base64Encoder e(new CountingStream(&deaths), true, 76); }
    EXPECT_EQ(2, deaths);
}

TEST(StringBuffer, QueueOperations)
{
    StringBuffer buf;
    EXPECT_TRUE(buf.isEmpty());
    EXPECT_TRUE(buf.isEnd());
    EXPECT_EQ(2147483647u, buf.freeSpace());
    const unsigned char abc[] = { 'a', 0, 'c' };
    EXPECT_EQ(3u, buf.write(abc, 3));
    EXPECT_EQ(3u, buf.size());
    unsigned char out[4] = {};
    EXPECT_EQ(2u, buf.read(out, 2));
    EXPECT_EQ('a', out[0]);
    EXPECT_EQ(0, out[1]);
    EXPECT_EQ(std::string("c"), static_cast<const std::string&>(buf));
    buf.clear();
    EXPECT_TRUE(buf.isEmpty());
    EXPECT_FALSE(buf.isFull());
}

TEST(StringBuffer, FillAndDrain)
{
    std::string data(1500, 'q');
    data[700] = 'Z';
    FixedBufferReader in(data.data(), unsigned(data.size()));
    StringBuffer buf;
    EXPECT_EQ(512u, buf.fillOnce(in));
    EXPECT_EQ(988u, buf.fillUntilEnd(in));
    EXPECT_EQ(0u, buf.fillUntilEnd(in));
    EXPECT_EQ(data, static_cast<const std::string&>(buf));

    LimitedSink one(1);
    EXPECT_EQ(1u, buf.drainOnce(one));
    EXPECT_EQ(1499u, buf.size());

    LimitedSink all(100000);
    EXPECT_EQ(1499u, buf.drainAll(all));
    EXPECT_EQ(data.substr(1), all.got);
    EXPECT_EQ(0u, buf.drainOnce(all));
    EXPECT_EQ(1, all.calls);
}

TEST(StringBuffer, DrainAllIntoRefusingSinkEnds)
{
    StringBuffer buf(String("abc"));
    LimitedSink refuse(0);
    EXPECT_EQ(0u, buf.drainAll(refuse));
    EXPECT_EQ(3u, buf.size());
}
