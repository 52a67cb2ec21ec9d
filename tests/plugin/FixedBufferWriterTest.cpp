#include <gtest/gtest.h>

#include <cstring>

#include "foundation/Exception.h"
#include "plugin/FixedBufferWriter.h"

namespace {

const unsigned char* bytes(const char* text)
{
    return reinterpret_cast<const unsigned char*>(text);
}

TEST(FixedBufferWriterTest, FillsExactlyThenThrowsOverflowAtTheNextWrite)
{
    char buffer[9];
    std::memset(buffer, '#', sizeof buffer);
    FixedBufferWriter writer(buffer, 8);
    EXPECT_EQ(writer.write(bytes("abc"), 3), 3u);
    EXPECT_EQ(writer.write(bytes("defgh"), 5), 5u);
    EXPECT_EQ(writer.length(), 8u);
    EXPECT_EQ(std::string(buffer, 9), "abcdefgh#");
    // Writing nothing into a full buffer is not an overflow.
    EXPECT_EQ(writer.write(bytes("x"), 0), 0u);
    try {
        writer.write(bytes("x"), 1);
        FAIL() << "no overflow";
    } catch (const Exception& e) {
        EXPECT_EQ(e.code, uint32_t(kOverflowException));
    }
    EXPECT_EQ(buffer[8], '#');
}

TEST(FixedBufferWriterTest, ALongTextFillsTheRoomLeftBeforeOverflowing)
{
    char buffer[6];
    std::memset(buffer, '#', sizeof buffer);
    FixedBufferWriter writer(buffer, 5);
    EXPECT_EQ(writer.write(bytes("ab"), 2), 2u);
    EXPECT_EQ(writer.write(bytes("cdefg"), 5), 3u);
    EXPECT_EQ(std::string(buffer, 6), "abcde#");
    EXPECT_THROW(writer.write(bytes("h"), 1), Exception);
    EXPECT_EQ(writer.length(), 5u);
}

TEST(FixedBufferWriterTest, NoBufferHasNoRoom)
{
    FixedBufferWriter writer(nullptr, 100);
    EXPECT_EQ(writer.write(bytes("a"), 0), 0u);
    EXPECT_THROW(writer.write(bytes("a"), 1), Exception);
}

} // namespace
