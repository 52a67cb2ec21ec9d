#include <gtest/gtest.h>

#include "foundation/RegistryKey.h"

namespace {

const char kTestRoot[] = "Software\\QuillorantixTests";
const char kTestKey[] = "Software\\QuillorantixTests\\RegistryKey";

class RegistryKeyTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        RegistryKey root(HKEY_CURRENT_USER, kTestRoot, false);
        if (root.isOpen()) {
            RegistryKey key(HKEY_CURRENT_USER, kTestKey, false);
            for (int i = static_cast<int>(key.subkeyCount()) - 1; i >= 0; --i) {
                String name;
                if (key.subkeyName(i, name))
                    key.deleteSubkey(name);
            }
            key.close();
            root.deleteSubkey("RegistryKey");
        }
        RegistryKey software(HKEY_CURRENT_USER, "Software", false);
        software.deleteSubkey("QuillorantixTests");
    }
};

} // namespace

TEST_F(RegistryKeyTest, EmptySubkeyOpensNothingAndEveryValueOperationFails)
{
    RegistryKey key(HKEY_CURRENT_USER, "", true);
    EXPECT_FALSE(key.isOpen());
    EXPECT_FALSE(key.setString("a", "b"));
    EXPECT_EQ(key.queryBytes("a", "dflt"), "dflt");
    EXPECT_EQ(key.queryInt("a", 7), 7);
    EXPECT_EQ(key.subkeyCount(), 0u);
    EXPECT_FALSE(key.deleteValue("a"));
    EXPECT_EQ(key.close(), 0);
}

TEST_F(RegistryKeyTest, MissingKeyIsCreatedOnlyWhenAsked)
{
    RegistryKey missing(HKEY_CURRENT_USER, kTestKey, false);
    EXPECT_FALSE(missing.isOpen());
    RegistryKey created(HKEY_CURRENT_USER, kTestKey, true);
    EXPECT_TRUE(created.isOpen());
    EXPECT_TRUE(missing.open(kTestKey, false));
}

TEST_F(RegistryKeyTest, ValuesRoundTrip)
{
    RegistryKey key(HKEY_CURRENT_USER, kTestKey, true);
    ASSERT_TRUE(key.isOpen());

    EXPECT_TRUE(key.setString("text", "abc"));
    const String text = key.queryBytes("text", "");
    ASSERT_EQ(text.size(), 4u);
    EXPECT_EQ(text[3], '\0');
    EXPECT_EQ(text.substr(0, 3), "abc");

    const String bytes(std::string("\x01\x00\xff\x7f", 4));
    EXPECT_TRUE(key.setBinary("bin", bytes));
    EXPECT_EQ(key.queryBytes("bin", "x"), bytes);

    const uint32_t dword = 0x12345678u;
    EXPECT_TRUE(key.setDword("dword", &dword));
    EXPECT_EQ(key.queryInt("dword", 0), 0x12345678);
    EXPECT_EQ(key.queryUnsigned("dword", 0u), 0x12345678u);

    const int negative = -5;
    EXPECT_TRUE(key.setBinary4("four", &negative));
    EXPECT_EQ(key.queryInt("four", 0), -5);

    EXPECT_TRUE(key.setEmptyValue("progid"));
    EXPECT_EQ(key.queryBytes("progid", "none"), "none");
    EXPECT_EQ(key.queryInt("missing", 42), 42);
    EXPECT_TRUE(key.setString("empty", ""));
    EXPECT_EQ(key.queryBytes("empty", "dflt"), "dflt");
}

TEST_F(RegistryKeyTest, ShortAndLongValuesForIntegers)
{
    RegistryKey key(HKEY_CURRENT_USER, kTestKey, true);
    ASSERT_TRUE(key.isOpen());
    // Fewer than four bytes read as the bytes themselves, zero-extended.
    const unsigned char two[2] = {0x34, 0x12};
    EXPECT_TRUE(key.setValue("two", two, 2, REG_BINARY));
    EXPECT_EQ(key.queryInt("two", -1), 0x1234);
    const unsigned char one[1] = {0xFF};
    EXPECT_TRUE(key.setValue("one", one, 1, REG_BINARY));
    EXPECT_EQ(key.queryInt("one", -1), 0xFF);
    EXPECT_TRUE(key.setBinary("eight", String(std::string(8, '\x11'))));
    EXPECT_EQ(key.queryInt("eight", -1), -1);
    // Larger than the 4,096-byte buffer gives the default.
    EXPECT_TRUE(key.setBinary("huge", String(std::string(5000, 'h'))));
    EXPECT_EQ(key.queryBytes("huge", "dflt"), "dflt");
    EXPECT_TRUE(key.setBinary("full", String(std::string(4096, 'f'))));
    EXPECT_EQ(key.queryBytes("full", "dflt").size(), 4096u);
}

TEST_F(RegistryKeyTest, EnumeratesAndDeletes)
{
    RegistryKey key(HKEY_CURRENT_USER, kTestKey, true);
    ASSERT_TRUE(key.isOpen());
    RegistryKey childA(key.handle(), "childA", true);
    RegistryKey childB(key.handle(), "childB", true);
    EXPECT_TRUE(childA.isOpen() && childB.isOpen());
    childA.close();
    childB.close();
    EXPECT_TRUE(key.setString("v1", "1"));
    EXPECT_TRUE(key.setString("v2", "2"));

    EXPECT_EQ(key.subkeyCount(), 2u);
    EXPECT_EQ(key.valueCount(), 2u);
    String a, b, name;
    EXPECT_TRUE(key.subkeyName(0, a));
    EXPECT_TRUE(key.subkeyName(1, b));
    EXPECT_TRUE((a == "childA" && b == "childB") || (a == "childB" && b == "childA"));
    EXPECT_FALSE(key.subkeyName(2, name));
    EXPECT_FALSE(key.subkeyName(-1, name));
    EXPECT_TRUE(key.valueName(0, name));
    EXPECT_TRUE(name == "v1" || name == "v2");
    EXPECT_FALSE(key.valueName(2, name));

    EXPECT_TRUE(key.deleteValue("v1"));
    EXPECT_FALSE(key.deleteValue("v1"));
    EXPECT_FALSE(key.deleteValue(""));
    EXPECT_TRUE(key.deleteSubkey("childA"));
    EXPECT_FALSE(key.deleteSubkey(""));
    EXPECT_EQ(key.subkeyCount(), 1u);
    EXPECT_EQ(key.valueCount(), 1u);
}
