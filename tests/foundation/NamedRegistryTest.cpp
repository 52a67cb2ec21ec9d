#include <gtest/gtest.h>

#include "foundation/NamedRegistry.h"
#include "foundation/Vec2.h"

namespace {

typedef float (*Curve)(float);
typedef Vec2 (*Direction)(int);

float twice(float v) { return v * 2.0f; }
float half(float v) { return v * 0.5f; }
Vec2 unitX(int) { return Vec2(1.0f, 0.0f); }

class CurveTable : public NamedRegistry<Curve>
{
public:
    CurveTable()
    {
        add("twice", &twice, "Twice");
        add("half", &half, "Half");
    }
};

// Built before main: uses the shared default entry during static
// initialisation, whatever the order of the translation units.
const NamedRegistry<Curve>::Entry& earlyDefault = NamedRegistry<Curve>::defaultEntry();
CurveTable staticCurves;

} // namespace

TEST(NamedRegistry, EmptyRegistryGivesTheDefaultEntry)
{
    NamedRegistry<Curve> r;
    EXPECT_EQ(0, r.count());
    const NamedRegistry<Curve>::Entry& e = r.entryAt(0);
    EXPECT_EQ("invalid_id", e.id);
    EXPECT_EQ("unknown", e.displayName);
    // Called through its own signature: a float result of 0.
    EXPECT_EQ(0.0f, e.function(3.0f));
    EXPECT_EQ(0, r.indexOf("anything"));
    EXPECT_FALSE(r.contains("anything"));
    EXPECT_EQ(&NamedRegistry<Curve>::defaultEntry(), &e);
    EXPECT_EQ(&earlyDefault, &e);
    EXPECT_EQ(0.0f, lookupRegistryFunction(r, "x")(1.0f));
}

TEST(NamedRegistry, DefaultFunctionReturnsZeroOfEveryResultType)
{
    NamedRegistry<Direction> r;
    const Vec2 v = r.entryAt(5).function(1);
    EXPECT_EQ(0.0f, v.x);
    EXPECT_EQ(0.0f, v.y);
    r.add("x", &unitX, "X");
    EXPECT_EQ(1.0f, r.entryAt(0).function(0).x);
}

TEST(NamedRegistry, MissesResolveToRowZeroOrTheDefault)
{
    EXPECT_EQ(2, staticCurves.count());
    EXPECT_EQ(1, staticCurves.indexOf("half"));
    EXPECT_EQ(0, staticCurves.indexOf("missing"));
    // The usual lookup: a missing id yields the first row's function.
    EXPECT_EQ(6.0f, staticCurves.entryAt(staticCurves.indexOf("missing")).function(3.0f));
    EXPECT_EQ("invalid_id", staticCurves.entryAt(2).id);
    EXPECT_EQ("invalid_id", staticCurves.entryAt(1000).id);
    EXPECT_EQ("invalid_id", staticCurves.entryAt(-1).id);
    EXPECT_EQ(&half, lookupRegistryFunction(staticCurves, "half"));
    EXPECT_EQ(NamedRegistry<Curve>::defaultEntry().function,
              lookupRegistryFunction(staticCurves, "missing"));
}

TEST(NamedRegistry, IdsAreCaseSensitiveAndReAddingRemaps)
{
    NamedRegistry<Curve> r;
    r.add("Dest", &twice, "Upper");
    r.add("dest", &half, "Lower");
    EXPECT_EQ(0, r.indexOf("Dest"));
    EXPECT_EQ(1, r.indexOf("dest"));
    r.add("Dest", &half, "Again");
    EXPECT_EQ(3, r.count());
    EXPECT_EQ(2, r.indexOf("Dest"));
    EXPECT_EQ("Upper", r.entryAt(0).displayName);
    EXPECT_EQ(&twice, r.entryAt(0).function);
}

TEST(NamedRegistry, TheEntryPastCapacityIsDropped)
{
    NamedRegistry<Curve> r;
    for (int i = 0; i < 256; ++i)
        r.add(String::fromFormat("id%d", i), &twice, "n");
    EXPECT_EQ(256, r.count());
    EXPECT_EQ(255, r.indexOf("id255"));
    r.add("extra", &half, "Extra");
    EXPECT_EQ(256, r.count());
    EXPECT_FALSE(r.contains("extra"));
    EXPECT_EQ("id255", r.entryAt(255).id);
    EXPECT_EQ("invalid_id", r.entryAt(256).id);
}
