#include <gtest/gtest.h>

#include <windows.h>
#include <oleauto.h>

#include <climits>
#include <cstddef>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "foundation/Exception.h"
#include "foundation/String.h"

TEST(String, EmptyForms)
{
    EXPECT_STREQ("", String().c_str());
    EXPECT_STREQ("", String(static_cast<const char*>(nullptr)).c_str());
    EXPECT_STREQ("", String(static_cast<const wchar_t*>(nullptr)).c_str());
    String s("x");
    s = static_cast<const char*>(nullptr);
    EXPECT_TRUE(s.empty());
    EXPECT_EQ("b", static_cast<const char*>(nullptr) + String("b"));
    EXPECT_EQ("ab", "a" + String("b"));
    EXPECT_EQ("ab", String("a") + String("b"));
    EXPECT_EQ("ab", String("a") + 'b');
    EXPECT_EQ("a", String("a") + static_cast<const char*>(nullptr));
}

TEST(String, ToIntReadsHexForms)
{
    EXPECT_EQ(255, String("#ff").toInt());
    EXPECT_EQ(26, String("0x1A").toInt());
    EXPECT_EQ(0, String("0X1A").toInt());
    EXPECT_EQ(12, String("12abc").toInt());
    EXPECT_EQ(0, String("").toInt());
    EXPECT_EQ(0, String("abc").toInt());
    EXPECT_EQ(-42, String(" \t-42").toInt());
    EXPECT_EQ(-255, String("#-ff").toInt());
    EXPECT_EQ(26, String("#0x1a").toInt());
    EXPECT_EQ(INT_MAX, String("99999999999").toInt());
    EXPECT_EQ(INT_MIN, String("-99999999999").toInt());
    EXPECT_EQ(INT_MAX, String("#fffffffff").toInt());
    EXPECT_EQ(INT_MAX, String("0xffffffff").toInt());
    EXPECT_EQ(0, String("0x").toInt());
}

TEST(String, ToDouble)
{
    EXPECT_EQ(1.5, String("1.5").toDouble());
    EXPECT_EQ(-0.25, String(" -0.25 ").toDouble());
    EXPECT_EQ(0.0, String("nan").toDouble());
}

TEST(String, CharAt)
{
    const String s("abc");
    EXPECT_EQ('a', s.charAt(0));
    EXPECT_EQ('c', s.charAt(-1));
    EXPECT_EQ('a', s.charAt(-3));
    EXPECT_EQ(0, s.charAt(3));
    EXPECT_EQ(0, s.charAt(4));
    EXPECT_EQ(0, s.charAt(-4));
    EXPECT_EQ(0, s.charAt(INT_MIN));
    EXPECT_EQ(0, String().charAt(0));
}

TEST(String, SubStrings)
{
    const String s("abcdef");
    EXPECT_EQ("ab", s.mid(-2, 4));
    EXPECT_EQ("", s.mid(-7, 3));
    EXPECT_EQ("cdef", s.mid(2, 100));
    EXPECT_EQ("", s.mid(6, 1));
    EXPECT_EQ("", s.mid(2, 0));
    EXPECT_EQ("bc", s.mid(1, 2));
    EXPECT_EQ("abcdef", s.midToEnd(0));
    EXPECT_EQ("def", s.midToEnd(3));
    EXPECT_EQ("", s.midToEnd(6));
    EXPECT_EQ("", s.left(0));
    EXPECT_EQ("abc", s.left(3));
    EXPECT_EQ("abcdef", s.left(99));
    EXPECT_EQ("", s.right(-1));
    EXPECT_EQ("ef", s.right(2));
    EXPECT_EQ("abcdef", s.right(6));
}

TEST(String, Fields)
{
    EXPECT_EQ("c", String("a,b,c").field(",", -1));
    EXPECT_EQ("a", String("a,b,c").field(",", -3));
    EXPECT_EQ("", String("a,b,c").field(",", -4));
    EXPECT_EQ("", String("a,b,c").field(",", 3));
    EXPECT_EQ("", String("a,,c").field(",", 1));
    EXPECT_EQ("b", String("a,b").field(",", 1));
    EXPECT_EQ("b", String("a::b::c").field("::", 1));
    EXPECT_EQ("", String("a,b").field("", 0));
    EXPECT_EQ("", String("a,b").field(nullptr, 1));

    size_t start = 9;
    size_t end = 9;
    EXPECT_TRUE(String("a,bb,c").fieldSpan(&start, &end, ",", 1));
    EXPECT_EQ(2u, start);
    EXPECT_EQ(4u, end);
    EXPECT_TRUE(String("a,bb,c").fieldSpan(&start, &end, ",", 2));
    EXPECT_EQ(5u, start);
    EXPECT_EQ(6u, end);
    EXPECT_FALSE(String("a,bb,c").fieldStart(&start, ",", 5));
    EXPECT_EQ(0u, start);
    EXPECT_FALSE(String("a,bb,c").fieldStart(&start, ",", -5));
    EXPECT_TRUE(String("a,bb,c").fieldSpan(&start, &end, "", 3));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(0u, end);
}

TEST(String, TakeField)
{
    String s("a,b,c");
    EXPECT_EQ("c", s.takeField(",", 2));
    EXPECT_EQ("a,b,", s);
    String t("a,b,c");
    EXPECT_EQ("a", t.takeField(",", 0));
    EXPECT_EQ("b,c", t);
    EXPECT_EQ("c", t.takeField(",", -1));
    EXPECT_EQ("b,", t);
    EXPECT_EQ("", t.takeField(",", 5));
    EXPECT_EQ("b,", t);
    String u("x::y");
    EXPECT_EQ("x", u.takeField("::", 0));
    EXPECT_EQ("y", u);
    EXPECT_EQ("", u.takeField("", 0));
    EXPECT_EQ("y", u);
}

TEST(String, Split)
{
    std::vector<String> out;
    EXPECT_EQ(2u, String("a,").split(out, ","));
    EXPECT_EQ("a", out[0]);
    EXPECT_EQ("", out[1]);
    EXPECT_EQ(5u, String("a,,b").split(out, ","));
    EXPECT_EQ("a", out[2]);
    EXPECT_EQ("", out[3]);
    EXPECT_EQ("b", out[4]);
    out.clear();
    EXPECT_EQ(1u, String().split(out, ","));
    EXPECT_EQ("", out[0]);
    out.clear();
    EXPECT_EQ(3u, String("1--2--3").split(out, "--"));
    EXPECT_EQ("3", out[2]);
    out.clear();
    EXPECT_EQ(2u, String("k=v").splitAtChar(out, '='));
    EXPECT_EQ("v", out[1]);
    // No separator to find: one field, and the call ends.
    out.clear();
    EXPECT_EQ(1u, String("a,b").split(out, ""));
    EXPECT_EQ("a,b", out[0]);
    EXPECT_EQ(2u, String("a,b").split(out, nullptr));
    EXPECT_EQ(3u, String("a,b").splitAtChar(out, '\0'));
}

TEST(String, ReplaceCollapsesAndReplaceAllDoesNot)
{
    String path("C:\\a\\b");
    EXPECT_EQ(2, path.replace("\\", "/"));
    EXPECT_EQ("C:/a/b", path);
    String runs("a////b//c");
    EXPECT_EQ(4, runs.replace("//", "/"));
    EXPECT_EQ("a/b/c", runs);
    String all("a////b");
    EXPECT_EQ(2, all.replaceAll("//", "/"));
    EXPECT_EQ("a//b", all);
    String grow("aXbX");
    EXPECT_EQ(2, grow.replaceAll("X", "XX"));
    EXPECT_EQ("aXXbXX", grow);
    String from("x.x.x");
    EXPECT_EQ(1, from.replace(".", "-", 2));
    EXPECT_EQ("x.x-x", from);
}

TEST(String, ReplaceThatCouldNeverEndChangesNothing)
{
    String s("aaa");
    EXPECT_EQ(0, s.replace("", "b"));
    EXPECT_EQ(0, s.replaceAll("", "b"));
    EXPECT_EQ(0, s.replace("a", "ba"));
    EXPECT_EQ("aaa", s);
    EXPECT_EQ(3, s.replaceAll("a", "ba"));
    EXPECT_EQ("bababa", s);
}

TEST(String, TrimCaseAndRemove)
{
    String s("  \t x ");
    EXPECT_EQ("x ", s.trimLeft(" \n\r\t"));
    EXPECT_EQ("x", s.trimRight(" \n\r\t"));
    String blanks("   ");
    EXPECT_EQ("", blanks.trimLeft(" \n\r\t"));
    String blanks2(" \r\n");
    EXPECT_EQ("", blanks2.trimRight(" \n\r\t"));
    String c("aZ\xe4-q");
    c.toUpper();
    EXPECT_EQ("AZ\xe4-Q", c);
    c.toLower();
    EXPECT_EQ("az\xe4-q", c);
    String r("a-b-c");
    EXPECT_EQ("abc", r.removeChar('-'));
    String rs("a, b;c");
    EXPECT_EQ("a, b;c", rs.removeChars(""));
    EXPECT_EQ("abc", rs.removeChars(", ;"));
    String e("abcdef");
    EXPECT_EQ("af", e.erase(1, 4));
    EXPECT_EQ("a", e.erase(1, 100));
    EXPECT_THROW(e.erase(5, 1), std::out_of_range);
}

TEST(String, CopyTo)
{
    const String s("abcdef");
    char buffer[8] = "#######";
    EXPECT_EQ(0, s.copyTo(buffer, 0));
    EXPECT_EQ(3, s.copyTo(buffer, 3));
    EXPECT_EQ(std::string("abc####"), buffer);
    EXPECT_EQ(2, s.copyTo(buffer, -2, 4));
    EXPECT_EQ(std::string("abc####"), buffer);
    EXPECT_EQ(2, s.copyTo(buffer, 4, 10));
    EXPECT_EQ(std::string("efc####"), buffer);
    EXPECT_EQ(0, s.copyTo(buffer, 6, 2));
    EXPECT_EQ(0, s.copyTo(buffer, -5, 3));
}

TEST(String, Comparisons)
{
    EXPECT_EQ(1, String("b").compare("a"));
    EXPECT_EQ(-1, String("a").compare("ab"));
    EXPECT_EQ(0, String("a").compare("a"));
    EXPECT_EQ(1, String("\xff").compare("a"));
    EXPECT_EQ(0, String("ABC").compareNoCase(String("abc")));
    EXPECT_EQ(-1, String("ABC").compareNoCase(String("abd")));
    EXPECT_LT(String("[").compareNoCase(String("a")), 0);
    EXPECT_EQ(0xc4 - 0xe4, String("\xc4").compareNoCase(String("\xe4")));
    EXPECT_EQ(0, String("abcdef").compareN("abc", 0));
    EXPECT_EQ(0, String("abcdef").compareN("abx", 2));
    EXPECT_NE(0, String("abcdef").compareN("abx", 3));
    EXPECT_TRUE(String("").startsWith(String("")));
    EXPECT_FALSE(String("").startsWith(String("a")));
    EXPECT_TRUE(String("abc").startsWith(String("ab")));
    EXPECT_FALSE(String("ab").startsWith(String("abc")));
    EXPECT_EQ(2, String("abcde").overlap(String("cdefg")));
    EXPECT_EQ(-1, String("abc").overlap(String("xyz")));
    EXPECT_EQ(0, String("aaa").overlap(String("aaaa")));
    EXPECT_EQ(-1, String("").overlap(String("a")));
}

TEST(String, FormattingLimits)
{
    const std::string fill(600, 'x');
    EXPECT_EQ(511u, String::fromFormat("%511d", 7).size());
    EXPECT_EQ(600u, String::fromFormat("%s", fill.c_str()).size());
    EXPECT_EQ(523776u, String::fromFormat("%523776d", 1).size());
    String target("kept");
    try {
        target.format("%523777d", 1);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(kOverflowException, e.code);
        EXPECT_STREQ("Overflow Exception", e.message);
    }
    EXPECT_EQ("kept", target);
    EXPECT_THROW(target.appendFormat("%s%s", std::string(300000, 'a').c_str(),
                                     std::string(300000, 'b').c_str()),
                 Exception);
    EXPECT_THROW(target.format("%.2000000000f", 1.0), Exception);
    EXPECT_EQ("kept", target);
    EXPECT_EQ("1", String::fromFormat("%.2000000000g", 1.0));
}

TEST(String, FormattingConversions)
{
    EXPECT_EQ("   42|42   ", String::fromFormat("%*d|%-*d", 5, 42, 5, 42));
    EXPECT_EQ("42   |", String::fromFormat("%*d|", -5, 42));
    EXPECT_EQ("3.14", String::fromFormat("%.*f", 2, 3.14159));
    EXPECT_EQ("-9000000000 18446744073709551615",
              String::fromFormat("%lld %llu", -9000000000LL, 18446744073709551615ULL));
    EXPECT_EQ("wide", String::fromFormat("%ls", L"wide"));
    // The runtime's "w" prefix is wide text too, and the arguments after it
    // are still read in step.
    const char* wideW = "%ws|%wc|%d";
    EXPECT_EQ("wide|w|5", String::fromFormat(wideW, L"wide", L'w', 5));
    // size_t, ptrdiff_t and a bare "I" are pointer-sized: past 32 bits on
    // x64, and the arguments after them are still read in step.
    const size_t big = size_t(-1) / 3;
    const std::ptrdiff_t negative = -std::ptrdiff_t(big);
    std::ostringstream expected;
    expected << big << '|' << std::hex << big << std::dec << '|' << negative << "|7";
    const char* sized = "%zu|%Ix|%td|%d"; // "I" is not a GNU flag: no compile-time check
    EXPECT_EQ(expected.str(), String::fromFormat(sized, big, big, negative, 7));
    EXPECT_EQ("(null)", String::fromFormat("%s", static_cast<const char*>(nullptr)));
    int written = 12345;
    EXPECT_EQ("ab", String::fromFormat("a%nb", &written));
    EXPECT_EQ(12345, written);
    String s("x");
    EXPECT_EQ("x1y2", s.appendFormat("%d", 1).appendFormat("y%d", 2));
    EXPECT_EQ("z", s.format("z"));
}

TEST(String, WideConversion)
{
    EXPECT_EQ("abc", String(L"abc"));
    std::wstring big(1000000, L'w');
    EXPECT_EQ(1000000u, String(big.c_str()).size());
    big.push_back(L'w');
    EXPECT_TRUE(String(big.c_str()).empty());
    wchar_t* bstr = String("Abc").toBstr();
    ASSERT_NE(nullptr, bstr);
    EXPECT_EQ(std::wstring(L"Abc"), std::wstring(bstr));
    EXPECT_EQ(3u, SysStringLen(bstr));
    SysFreeString(bstr);
    bstr = String().toBstr();
    ASSERT_NE(nullptr, bstr);
    EXPECT_EQ(0u, SysStringLen(bstr));
    SysFreeString(bstr);
}
