#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "EngineTestSupport.h"
#include "engine/Canvas.h"
#include "engine/Component.h"
#include "foundation/PropertyBag.h"

using namespace enginetest;

namespace {

const ParamDescriptor brushTable[] = {
    {2, 0, 0, 2, 0, "Op ", "op", 5, &opRegistry, 0, 0, 0, "Which op"},
    {3, -20, 120, 50, 2, "Size ", "size", 0, nullptr, 10, 30, 60, ""},
    {2, 3, 12, 5, 0, "Sides ", "sides", 0, nullptr, 4, 6, 50, ""},
    {1, 0, 1, 0, 0, "Reverse", "reverse", 0, nullptr, 0, 0, 0, ""},
    {2, 0, 100, 250, 0, "Clamped ", "clamped", 0, nullptr, 0, 0, 0, ""}, // default above max
    {2, 0, 10, 1, 0, "Duplicate ", "sides", 0, nullptr, 0, 0, 0, ""},
    {0, 0, 0, 0, 0, "", "", 0, nullptr, 0, 0, 0, ""},
    // Never read: after the terminator.
    {2, 0, 10, 4, 0, "Hidden ", "hidden", 0, nullptr, 0, 0, 0, ""},
};

struct TestBrush : Component
{
    TestBrush() : Component(brushTable, "_swaprgb", "Swap Point RGB", "brush") {}
};

std::string idOf(int i)
{
    return "p" + std::to_string(i);
}

} // namespace

TEST(Component, TableRowsBecomeTwentyParameters)
{
    TestBrush brush;
    EXPECT_EQ("_swaprgb", brush.id);
    EXPECT_EQ("Swap Point RGB", brush.displayName);
    EXPECT_EQ("brush", brush.type);
    EXPECT_EQ(nullptr, brush.canvas);
    EXPECT_EQ(0, brush.pixelOffset.x);
    EXPECT_EQ(0, brush.pixelOffset.y);

    EXPECT_EQ(5u, brush.parameterMap.size());
    for (int i = 0; i < Component::ParameterSlots; ++i) {
        ASSERT_NE(nullptr, brush.parameters[i]);
        EXPECT_EQ(brush.parameters[i].get(), brush.parameterAt(i));
        // The terminator row is built like any row; the blank ones after it
        // belong to nobody.
        EXPECT_EQ(i <= 6 ? &brush : nullptr, brush.parameters[i]->owner) << i;
        if (i >= 6) {
            EXPECT_EQ(0u, brush.parameters[i]->valueCount);
        }
    }
    EXPECT_EQ(nullptr, brush.parameterAt(20));
    EXPECT_EQ(nullptr, brush.parameterAt(-1));
    EXPECT_FALSE(brush.hasParameter("hidden"));
    EXPECT_TRUE(brush.parameters[7]->id.empty());

    // The first row keeps a shared id; defaults are clamped at construction.
    EXPECT_EQ(brush.parameters[2].get(), &brush.findParameter("sides"));
    EXPECT_EQ(100, brush.findParameter("clamped").values[0]);
    EXPECT_EQ(3, brush.findParameter("op").max);
}

TEST(Component, FullAndEmptyTables)
{
    static ParamDescriptor full[20];
    static std::string ids[20];
    for (int i = 0; i < 20; ++i) {
        ids[i] = idOf(i);
        full[i] = {2, 0, 100, i, 0, "L", ids[i].c_str(), 0, nullptr, 0, 0, 0, ""};
    }
    Component all(full, "all", "All", "stroke");
    EXPECT_EQ(20u, all.parameterMap.size());
    EXPECT_EQ(19, all.findParameter("p19").values[0]);

    const ParamDescriptor none[] = {{0, 0, 0, 0, 0, "", "", 0, nullptr, 0, 0, 0, ""}};
    Component empty(none, "empty", "Empty", "application");
    EXPECT_TRUE(empty.parameterMap.empty());
    for (const auto& p : empty.parameters)
        EXPECT_EQ(0u, p->valueCount);

    Component nothing(nullptr, "n", "N", "brush");
    EXPECT_TRUE(nothing.parameterMap.empty());
    EXPECT_NE(nullptr, nothing.parameters[0]);
}

TEST(Component, LookupsOfUnknownIds)
{
    TestBrush brush;
    Parameter& missing = brush.findParameter("nosuch");
    EXPECT_EQ(&defaultParameter(), &missing);
    EXPECT_DOUBLE_EQ(0.0, missing.valueReal(0));
    EXPECT_FALSE(missing.setValue(3, 0));
    missing.randomize();
    PropertyBag junk;
    junk.setString("", "9");
    missing.load(junk);
    EXPECT_EQ(0, missing.values[0]);
    const TestBrush& constBrush = brush;
    EXPECT_EQ(&defaultParameter(), &constBrush.findParameter("nosuch"));

    int ints[2] = {7, 7};
    float reals[2] = {7.0f, 7.0f};
    brush.intRange("nosuch", ints);
    brush.realRange("nosuch", reals);
    EXPECT_EQ(0, ints[0]);
    EXPECT_EQ(0, ints[1]);
    EXPECT_EQ(0.0f, reals[0]);
    EXPECT_EQ(0.0f, reals[1]);

    brush.findParameter("size").setValue(-20, 0);
    brush.findParameter("size").setValue(120, 1);
    brush.intRange("size", ints);
    brush.realRange("size", reals);
    EXPECT_EQ(-20, ints[0]);
    EXPECT_EQ(120, ints[1]);
    EXPECT_FLOAT_EQ(-0.2f, reals[0]);
    EXPECT_FLOAT_EQ(1.2f, reals[1]);
}

TEST(Component, SavesUnderItsTypePrefix)
{
    TestBrush brush;
    brush.findParameter("size").setValue(29, 0);
    brush.findParameter("op").setValue(1, 0);
    PropertyBag bag;
    brush.save(bag);

    EXPECT_EQ("_swaprgb", bag.getString("brush.id", "?"));
    EXPECT_EQ("twice", bag.getString("brush.op", "?"));
    EXPECT_EQ("0.290000", bag.getString("brush.size.start", "?"));
    EXPECT_EQ("0.500000", bag.getString("brush.size.end", "?"));
    EXPECT_EQ("1", bag.getString("brush.sides", "?")); // the later duplicate row wins
    EXPECT_EQ("0", bag.getString("brush.reverse", "?"));
    EXPECT_EQ("100", bag.getString("brush.clamped", "?"));
    EXPECT_FALSE(bag.contains("brush.hidden"));

    for (const auto& entry : bag.entries())
        EXPECT_EQ(0, entry.first.compare(0, 6, "brush.")) << entry.first;
    // id, op, size.start, size.end, sides, reverse, clamped; the duplicate
    // row writes "sides" again.
    EXPECT_EQ(7u, bag.entries().size());
}

TEST(Component, LoadRoundTripAndMissingKeys)
{
    TestBrush source;
    source.findParameter("op").setValue(3, 0);
    source.findParameter("size").setValue(-13, 0);
    source.findParameter("size").setValue(117, 1);
    source.findParameter("reverse").setValue(1, 0);
    PropertyBag bag;
    source.save(bag);
    bag.setString("stroke.sides", "11"); // another component's key
    bag.setString("sides", "10");        // unprefixed

    TestBrush loaded;
    loaded.load(bag);
    EXPECT_EQ(3, loaded.findParameter("op").values[0]);
    EXPECT_EQ(-13, loaded.findParameter("size").values[0]);
    EXPECT_EQ(117, loaded.findParameter("size").values[1]);
    EXPECT_EQ(1, loaded.findParameter("reverse").values[0]);
    // Both rows named "sides" read the one key the duplicate wrote last (1),
    // each clamping it into its own range.
    EXPECT_EQ(1, loaded.parameters[5]->values[0]);
    EXPECT_EQ(3, loaded.findParameter("sides").values[0]);

    TestBrush defaults;
    defaults.findParameter("sides").setValue(9, 0);
    defaults.findParameter("op").setValue(3, 0);
    PropertyBag sparse;
    sparse.setString("brush.size.end", "0.75");
    defaults.load(sparse);
    EXPECT_EQ(5, defaults.findParameter("sides").values[0]);
    EXPECT_EQ(0, defaults.findParameter("op").values[0]); // first entry, not the row default 2
    EXPECT_EQ(50, defaults.findParameter("size").values[0]);
    EXPECT_EQ(75, defaults.findParameter("size").values[1]);
}

TEST(Component, RandomizeIsRepeatableAndOrdered)
{
    TestBrush a, b;
    srand(31337);
    a.randomize();
    const unsigned after = unsigned(rand());
    srand(31337);
    b.randomize();
    EXPECT_EQ(after, unsigned(rand()));
    for (int i = 0; i < Component::ParameterSlots; ++i) {
        EXPECT_EQ(a.parameters[i]->values[0], b.parameters[i]->values[0]);
        EXPECT_EQ(a.parameters[i]->values[1], b.parameters[i]->values[1]);
    }

    // Slot order, values in order, two draws each: 1+2+1+1+1+1 values.
    srand(99);
    Lcg lcg(99);
    a.randomize();
    for (int i = 0; i < 2 * 7; ++i)
        lcg.next();
    EXPECT_EQ(lcg.next(), rand());
    for (const auto& p : a.parameters)
        for (unsigned i = 0; i < p->valueCount; ++i) {
            EXPECT_GE(p->values[i], p->min);
            EXPECT_LE(p->values[i], p->max);
        }
}

TEST(Component, ResetAndClamp)
{
    Listener listener;
    TestBrush brush;
    brush.findParameter("sides").listener = &listener;
    brush.findParameter("sides").setValue(12, 0);
    brush.findParameter("size").values[1] = 1000; // written around setValue
    brush.clampValues();
    EXPECT_EQ(120, brush.findParameter("size").values[1]);

    brush.resetToDefaults();
    EXPECT_EQ(5, brush.findParameter("sides").values[0]);
    EXPECT_EQ(2, listener.previews);
    EXPECT_EQ(50, brush.findParameter("size").values[1]);
    EXPECT_EQ(100, brush.findParameter("clamped").values[0]);
    EXPECT_EQ(2, brush.findParameter("op").values[0]);
}

TEST(Component, CanvasSetsThePixelOffset)
{
    TestBrush brush;
    Canvas canvas;
    canvas.area = Rect(10, 20, 110, 220);
    brush.setCanvas(&canvas);
    EXPECT_EQ(&canvas, brush.canvas);
    EXPECT_EQ(-10, brush.pixelOffset.x);
    EXPECT_EQ(-20, brush.pixelOffset.y);
}
