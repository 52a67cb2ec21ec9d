#include <gtest/gtest.h>

#include <cfloat>
#include <string>
#include <vector>

#include "foundation/PropertyBag.h"
#include "foundation/PropertyVisitor.h"
#include "foundation/StringBuffer.h"

namespace {

// A store that implements only the two text operations, so every typed
// call must come through them.
struct TextOnlyStore : PropertyReaderWriter {
    String getString(const String& key, const String& def) const override
    {
        ++reads;
        return bag.getString(key, def);
    }
    void setString(const String& key, const String& value) override
    {
        ++writes;
        bag.setString(key, value);
    }
    PropertyBag bag;
    mutable int reads = 0;
    int writes = 0;
};

struct Collect : PropertyVisitor {
    void visit(const String& key, const String& value) override
    {
        seen.push_back(key + "=" + value);
    }
    std::vector<std::string> seen;
};

} // namespace

TEST(PropertyBag, TypedTextForms)
{
    PropertyBag bag;
    bag.setInt("i", -5);
    bag.setFloat("f", 0.5f);
    bag.setDouble("d", -1.25);
    bag.setBool("t", true);
    bag.setBool("n", false);
    bag.setChar("c", 'x');
    bag.setChar("z", '\0');
    EXPECT_EQ("-5", bag.getString("i", ""));
    EXPECT_EQ("0.500000", bag.getString("f", ""));
    EXPECT_EQ("-1.250000", bag.getString("d", ""));
    EXPECT_EQ("1", bag.getString("t", ""));
    EXPECT_EQ("0", bag.getString("n", ""));
    EXPECT_EQ("x", bag.getString("c", ""));
    EXPECT_TRUE(bag.contains("z"));
    EXPECT_EQ("", bag.getString("z", "dflt"));
}

TEST(PropertyBag, TypedReadsAndDefaults)
{
    PropertyBag bag;
    bag.setString("empty", "");
    bag.setString("hex", "#10");
    bag.setString("junk", "abc");
    bag.setString("two", "2");
    bag.setString("zero", "0");
    bag.setString("yes", "yes");
    bag.setString("word", "xyz");
    bag.setString("huge", "1e300");
    bag.setString("f", " 2.5 ");
    EXPECT_EQ(7, bag.getInt("empty", 7));
    EXPECT_EQ(7, bag.getInt("missing", 7));
    EXPECT_EQ(16, bag.getInt("hex", 0));
    EXPECT_EQ(0, bag.getInt("junk", 9));
    EXPECT_TRUE(bag.getBool("missing", true));
    EXPECT_FALSE(bag.getBool("missing", false));
    EXPECT_FALSE(bag.getBool("zero", true));
    EXPECT_TRUE(bag.getBool("two", false));
    EXPECT_FALSE(bag.getBool("yes", true));
    EXPECT_EQ('x', bag.getChar("word", 'q'));
    EXPECT_EQ('q', bag.getChar("empty", 'q'));
    EXPECT_FLOAT_EQ(2.5f, bag.getFloat("f", 0));
    EXPECT_DOUBLE_EQ(4.0, bag.getDouble("missing", 4.0));
    EXPECT_EQ(0.0, bag.getDouble("junk", 3.0));
    EXPECT_EQ(FLT_MAX, bag.getFloat("huge", 0));
}

TEST(PropertyBag, TypedCallsGoThroughTextOperations)
{
    TextOnlyStore store;
    PropertyWriter& w = store;
    const PropertyReader& r = store;
    w.setBool("b", true);
    w.setFloat("f", 1.5f);
    int values[3] = { 1, 2, 3 };
    w.setIntArray("a", 3, values, ',');
    EXPECT_EQ(3, store.writes);
    EXPECT_TRUE(r.getBool("b", false));
    EXPECT_FLOAT_EQ(1.5f, r.getFloat("f", 0));
    int out[3] = {};
    EXPECT_EQ(3, r.getIntArray("a", 3, out, ',', 0));
    EXPECT_EQ(3, store.reads);
}

TEST(PropertyBag, ArrayRoundTrips)
{
    PropertyBag bag;
    int ints[3] = { 1, 2, 3 };
    bag.setIntArray("i", 3, ints, ',');
    EXPECT_EQ("1,2,3", bag.getString("i", ""));
    bag.setIntArray("none", 0, ints, ',');
    EXPECT_TRUE(bag.contains("none"));
    EXPECT_EQ("", bag.getString("none", "x"));
    float floats[2] = { 0.5f, -2.0f };
    bag.setFloatArray("f", 2, floats, ';');
    EXPECT_EQ("0.500000;-2.000000", bag.getString("f", ""));
    double doubles[2] = { 0.25, 1e6 };
    bag.setDoubleArray("d", 2, doubles, ' ');
    double dout[4];
    EXPECT_EQ(2, bag.getDoubleArray("d", 4, dout, ' ', -1.0));
    EXPECT_EQ(0.25, dout[0]);
    EXPECT_EQ(1e6, dout[1]);
    EXPECT_EQ(-1.0, dout[2]);

    int out[5];
    bag.setString("spaced", "10, 20 ,30");
    EXPECT_EQ(3, bag.getIntArray("spaced", 5, out, ',', -1));
    EXPECT_EQ(10, out[0]);
    EXPECT_EQ(20, out[1]);
    EXPECT_EQ(30, out[2]);
    EXPECT_EQ(-1, out[3]);
    bag.setString("gap", "1,,3");
    EXPECT_EQ(3, bag.getIntArray("gap", 5, out, ',', 9));
    EXPECT_EQ(9, out[1]);
    EXPECT_EQ(3, out[2]);
    bag.setString("trail", "1,2,");
    EXPECT_EQ(2, bag.getIntArray("trail", 5, out, ',', 9));
    EXPECT_EQ(9, out[2]);
    bag.setString("long", "1,2,3,4,5,6");
    EXPECT_EQ(2, bag.getIntArray("long", 2, out, ',', 0));
    EXPECT_EQ(0, bag.getIntArray("missing", 5, out, ',', 4));
    EXPECT_EQ(4, out[0]);
    EXPECT_EQ(4, out[4]);
    EXPECT_EQ(0, bag.getIntArray("long", 0, out, ',', 0));
    // A NUL separator cannot split: the whole text is one field.
    EXPECT_EQ(1, bag.getIntArray("long", 5, out, '\0', 0));
    float fout[2];
    bag.setString("fl", " 1.5 \t,x");
    EXPECT_EQ(2, bag.getFloatArray("fl", 2, fout, ',', 7.0f));
    EXPECT_EQ(1.5f, fout[0]);
    EXPECT_EQ(0.0f, fout[1]);
}

TEST(PropertyBag, ParseLine)
{
    PropertyBag bag;
    const String trim = " \n\r\t";
    EXPECT_TRUE(bag.parseLine("  size = 12 ", "=", trim));
    EXPECT_EQ("12", bag.getString("size", ""));
    EXPECT_FALSE(bag.parseLine("=5", "=", trim));
    EXPECT_FALSE(bag.parseLine("  \t", "=", trim));
    EXPECT_TRUE(bag.parseLine("flag", "=", trim));
    EXPECT_TRUE(bag.contains("flag"));
    EXPECT_EQ("", bag.getString("flag", "x"));
    EXPECT_TRUE(bag.parseLine("a=b=c", "=", trim));
    EXPECT_EQ("b=c", bag.getString("a", ""));
    EXPECT_TRUE(bag.parseLine("a = b", "=", ""));
    EXPECT_EQ(" b", bag.getString("a ", ""));
    EXPECT_TRUE(bag.parseLine("size=13", "=", trim));
    EXPECT_EQ("13", bag.getString("size", ""));
}

TEST(PropertyBag, ParseJoinRoundTrip)
{
    PropertyBag bag;
    EXPECT_EQ(3, bag.parse("b = 2\r\n\r\na=1\r\n=junk\r\nc= x y \r\n", "\r\n", "=", " \n\r\t"));
    EXPECT_EQ("a=1\r\nb=2\r\nc=x y", bag.joined("=", "\r\n"));

    StringBuffer sink;
    bag.join(sink, "=", "\r\n");
    EXPECT_EQ(bag.joined("=", "\r\n"), static_cast<const std::string&>(sink));

    PropertyBag back;
    back.parse(bag.joined("=", "\r\n"), "\r\n", "=", " \n\r\t");
    EXPECT_EQ(bag.entries(), back.entries());

    PropertyBag empty;
    StringBuffer nothing;
    empty.join(nothing, "=", "\r\n");
    EXPECT_TRUE(nothing.isEmpty());
}

TEST(PropertyBag, LowerCaseKeys)
{
    PropertyBag bag(true);
    bag.setString("Size", "3");
    EXPECT_EQ("3", bag.getString("SIZE", ""));
    EXPECT_TRUE(bag.contains("size"));
    EXPECT_EQ(1u, bag.entries().count("size"));
    EXPECT_TRUE(bag.parseLine("MiXed=1", "=", ""));
    EXPECT_TRUE(bag.contains("mixed"));

    PropertyBag copy(bag);
    EXPECT_TRUE(copy.lowerCaseKeys());
    EXPECT_EQ("3", copy.getString("SiZe", ""));
}

TEST(PropertyBag, LoadSaveVisitAndGet)
{
    PropertyBag source;
    source.setString("a", "1");
    source.setString("b", "2");
    source.setString("extra", "x");

    PropertyBag target;
    target.setString("b", "old");
    target.setString("lacking", "old");
    target.load(source);
    EXPECT_EQ("2", target.getString("b", ""));
    EXPECT_TRUE(target.contains("lacking"));
    EXPECT_EQ("", target.getString("lacking", "d"));
    EXPECT_FALSE(target.contains("a"));

    PropertyBag saved;
    source.save(saved);
    EXPECT_EQ(source.entries(), saved.entries());
    source.save(source); // writing into itself changes nothing
    EXPECT_EQ(3u, source.entries().size());

    Collect c;
    source.forEach(c);
    ASSERT_EQ(3u, c.seen.size());
    EXPECT_EQ("a=1", c.seen[0]);
    EXPECT_EQ("extra=x", c.seen[2]);

    const String fallback = "fb";
    EXPECT_EQ(&fallback, &source.get("nope", fallback));
    EXPECT_EQ("1", source.get("a", fallback));
}
