#include <gtest/gtest.h>

#include "engine/KeyPrefixReader.h"
#include "engine/KeyPrefixWriter.h"
#include "foundation/MemorySettingsStore.h"
#include "foundation/PropertyBag.h"
#include "foundation/PropertyVisitor.h"

namespace {

struct CountVisits : PropertyVisitor {
    void visit(const String&, const String&) override { ++count; }
    int count = 0;
};

// A target whose typed getters differ from the text defaults, to show that
// the adapter forwards the typed call itself.
struct TypedTarget : PropertyReader {
    String getString(const String& key, const String&) const override { return "s:" + key; }
    int getInt(const String& key, int) const override { return int(key.size()); }
    bool getBool(const String&, bool def) const override { return !def; }
};

} // namespace

TEST(KeyPrefix, WritesLandUnderPrefixedKeys)
{
    PropertyBag section;
    KeyPrefixWriter w(&section, "brush.");
    w.setInt("sides", 5);
    w.setFloat("size", 0.5f);
    w.setDouble("angle", 2.0);
    w.setBool("nopaintstop", true);
    w.setChar("mode", 'q');
    w.setString("blendmode", "normal");
    int range[2] = { 3, 9 };
    w.setIntArray("length", 2, range, ',');
    EXPECT_EQ("5", section.getString("brush.sides", ""));
    EXPECT_EQ("0.500000", section.getString("brush.size", ""));
    EXPECT_EQ("2.000000", section.getString("brush.angle", ""));
    EXPECT_EQ("1", section.getString("brush.nopaintstop", ""));
    EXPECT_EQ("q", section.getString("brush.mode", ""));
    EXPECT_EQ("normal", section.getString("brush.blendmode", ""));
    EXPECT_EQ("3,9", section.getString("brush.length", ""));
    EXPECT_EQ(7u, section.entries().size());

    KeyPrefixWriter plain(&section, "");
    plain.setInt("name", 3);
    EXPECT_EQ(3, KeyPrefixReader(&section, "").getInt("name", 0));
}

TEST(KeyPrefix, ReadsWithTypedDefaults)
{
    MemorySettingsStore store;
    store.section("_current").setString("stroke.length", "4,12");
    store.section("_current").setString("stroke.feedback", "0");
    store.section("_current").setString("stroke.scale", "1.5");
    KeyPrefixReader r(&store.sectionReader("_current"), "stroke.");
    EXPECT_EQ(7, r.getInt("sides", 7));
    EXPECT_TRUE(r.getBool("missing", true));
    EXPECT_FALSE(r.getBool("feedback", true));
    EXPECT_FLOAT_EQ(1.5f, r.getFloat("scale", 0));
    EXPECT_DOUBLE_EQ(1.5, r.getDouble("scale", 0));
    EXPECT_EQ('z', r.getChar("missing", 'z'));
    EXPECT_EQ("dflt", r.getString("missing", "dflt"));
    int range[2] = { 0, 0 };
    EXPECT_EQ(2, r.getIntArray("length", 2, range, ',', -1));
    EXPECT_EQ(4, range[0]);
    EXPECT_EQ(12, range[1]);
    EXPECT_FALSE(store.hasSection("stroke"));
}

TEST(KeyPrefix, ForwardsTypedCallsAndVisitsNothing)
{
    TypedTarget target;
    KeyPrefixReader r(&target, "app.");
    EXPECT_EQ(int(String("app.amount").size()), r.getInt("amount", 0));
    EXPECT_TRUE(r.getBool("x", false));
    EXPECT_EQ("s:app.k", r.getString("k", ""));

    PropertyBag full;
    full.setString("app.a", "1");
    KeyPrefixReader visitor(&full, "app.");
    CountVisits v;
    visitor.forEach(v);
    EXPECT_EQ(0, v.count);
}

