#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "EngineTestSupport.h"
#include "engine/Canvas.h"
#include "engine/ComponentSet.h"
#include "engine/DefaultRenderCallbacks.h"
#include "engine/applications/ApplicationPattern.h"
#include "engine/brushes/Brush.h"
#include "engine/strokes/StrokeAlgorithm.h"
#include "foundation/PropertyBag.h"
#include "image/OwnedBitmap.h"

using namespace enginetest;

namespace {

bool keyUp() { return false; }
bool keyDown() { return true; }

// Holds the Control key as a test needs it and lets it go afterwards.
class ComponentSetTest : public ::testing::Test
{
protected:
    void SetUp() override { ComponentSet::setControlKeyQuery(&keyUp); }
    void TearDown() override { ComponentSet::setControlKeyQuery(nullptr); }
};

// A reader that remembers every key asked for.
struct RecordingReader : PropertyReader
{
    String getString(const String& key, const String& dflt) const override
    {
        keys.push_back(key);
        return bag.getString(key, dflt);
    }
    bool asked(const std::string& prefix, const std::string& except = "") const
    {
        for (const String& k : keys)
            if (k.compare(0, prefix.size(), prefix) == 0 && k != except)
                return true;
        return false;
    }
    PropertyBag bag;
    mutable std::vector<String> keys;
};

PropertyBag preset(std::initializer_list<std::pair<const char*, const char*>> entries)
{
    PropertyBag bag;
    for (const auto& e : entries)
        bag.setString(e.first, e.second);
    return bag;
}

std::vector<int> valuesOf(const Component& c)
{
    std::vector<int> v;
    for (int i = 0; i < Component::ParameterSlots; ++i) {
        const Parameter* p = c.parameterAt(i);
        v.push_back(p->values[0]);
        v.push_back(p->values[1]);
    }
    return v;
}

template <class Slots, class T>
int indexOf(const Slots& items, int count, const T* c)
{
    for (int i = 0; i < count; ++i)
        if (items[i].get() == c)
            return i;
    return -1;
}

// Component ids are unique across all kinds.
std::set<std::string> idsOf(const ComponentSet& set)
{
    std::set<std::string> ids;
    for (int i = 0; i < set.brushCount; ++i)
        ids.insert(set.brushes[i]->id);
    for (int i = 0; i < set.strokeCount; ++i)
        ids.insert(set.strokes[i]->id);
    for (int i = 0; i < set.applicationCount; ++i)
        ids.insert(set.applications[i]->id);
    return ids;
}

} // namespace

TEST_F(ComponentSetTest, BuildsEveryComponentAndChoosesTheFirsts)
{
    ComponentSet set(PropertyBag{});
    const char* brushIds[] = {"_SwapPoint", "_swaprgb", "_swaphsv", "_swapblend", "_ImageCopyBrush",
                              "_ColorPointBrush"};
    const char* brushNames[] = {"Swap Point (original)", "Swap Point RGB", "Swap Point HSV",
                                "Swap Point Blend", "Image Copy Brush", "Color Point Brush"};
    const char* strokeIds[] = {"ParamAngleStroke", "ParamAngle2dStroke", "Vector2Stroke"};
    const char* appIds[] = {"random", "single_grid"};

    ASSERT_EQ(6, set.brushCount);
    ASSERT_EQ(3, set.strokeCount);
    ASSERT_EQ(2, set.applicationCount);
    for (int i = 0; i < ComponentSet::BrushSlots; ++i) {
        if (i >= 6) {
            EXPECT_EQ(nullptr, set.brushes[i]);
            continue;
        }
        EXPECT_EQ(brushIds[i], set.brushes[i]->id);
        EXPECT_EQ(brushNames[i], set.brushes[i]->displayName);
        EXPECT_EQ("brush", set.brushes[i]->type);
    }
    for (int i = 0; i < ComponentSet::StrokeSlots; ++i) {
        if (i >= 3) {
            EXPECT_EQ(nullptr, set.strokes[i]);
            continue;
        }
        EXPECT_EQ(strokeIds[i], set.strokes[i]->id);
        EXPECT_EQ("stroke", set.strokes[i]->type);
    }
    EXPECT_EQ("Stroke Algorithm 1 (original+)", set.strokes[0]->displayName);
    EXPECT_EQ("Vector Stroke Algorithm", set.strokes[2]->displayName);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(appIds[i], set.applications[i]->id);
    EXPECT_EQ(nullptr, set.applications[2]);
    EXPECT_EQ(11u, idsOf(set).size());

    EXPECT_EQ(set.brushes[0].get(), set.currentBrush);
    EXPECT_EQ(set.strokes[0].get(), set.currentStroke);
    EXPECT_EQ(set.applications[0].get(), set.currentApplication);
}

TEST_F(ComponentSetTest, ControlHeldAtConstructionAddsTheFourthStroke)
{
    ComponentSet::setControlKeyQuery(&keyDown);
    ComponentSet held(PropertyBag{});
    ASSERT_EQ(4, held.strokeCount);
    EXPECT_EQ("AnglePairStroke", held.strokes[3]->id);
    EXPECT_EQ("Angle Pair Algorithm", held.strokes[3]->displayName);
    EXPECT_EQ(12u, idsOf(held).size());
    EXPECT_TRUE(held.selectStroke(3));
    EXPECT_EQ(held.strokes[3].get(), held.currentStroke);

    // Letting go afterwards does not change a set already built.
    ComponentSet::setControlKeyQuery(&keyUp);
    EXPECT_EQ(4, held.strokeCount);
    ComponentSet plain(PropertyBag{});
    EXPECT_EQ(3, plain.strokeCount);
    EXPECT_FALSE(plain.selectStroke(3));
}

TEST_F(ComponentSetTest, EveryTableRowHasAKeyOfItsOwn)
{
    // Painting code reads rows by their names in the code, presets and the
    // settings dialog by key: each key must lead back to its own row.
    ComponentSet::setControlKeyQuery(&keyDown);
    const ComponentSet set(PropertyBag{});
    std::vector<const Component*> all;
    for (int i = 0; i < set.brushCount; ++i)
        all.push_back(set.brushes[i].get());
    for (int i = 0; i < set.strokeCount; ++i)
        all.push_back(set.strokes[i].get());
    for (int i = 0; i < set.applicationCount; ++i)
        all.push_back(set.applications[i].get());
    ASSERT_EQ(12u, all.size());
    for (const Component* c : all) {
        int rows = 0;
        for (int i = 0; i < Component::ParameterSlots; ++i) {
            const Parameter* p = c->parameterAt(i);
            if (p->flags == 0)
                break;
            EXPECT_EQ(p, &c->findParameter(p->id)) << c->id << " row " << i << " " << p->id;
            ++rows;
        }
        EXPECT_GT(rows, 0) << c->id;
    }
}

TEST_F(ComponentSetTest, SelectionByIndexReportsAChange)
{
    ComponentSet set(PropertyBag{});
    EXPECT_FALSE(set.selectBrush(6));
    EXPECT_FALSE(set.selectBrush(-1));
    EXPECT_FALSE(set.selectBrush(0)); // already current
    EXPECT_TRUE(set.selectBrush(5));
    EXPECT_EQ(set.brushes[5].get(), set.currentBrush);
    EXPECT_FALSE(set.selectBrush(5));
    EXPECT_FALSE(set.selectBrush(16));
    EXPECT_EQ(set.brushes[5].get(), set.currentBrush);

    EXPECT_FALSE(set.selectStroke(0));
    EXPECT_TRUE(set.selectStroke(2));
    EXPECT_FALSE(set.selectStroke(23));
    EXPECT_EQ(set.strokes[2].get(), set.currentStroke);

    EXPECT_FALSE(set.selectApplication(2));
    EXPECT_TRUE(set.selectApplication(1));
    EXPECT_FALSE(set.selectApplication(1));
    EXPECT_TRUE(set.selectApplication(0));
}

TEST_F(ComponentSetTest, LoadChoosesByIdAndDefault)
{
    ComponentSet set(preset({{"brush.id", "_swaphsv"},
                             {"stroke.id", "Vector2Stroke"},
                             {"application.id", "single_grid"},
                             {"application.passes", "3"},
                             {"application.amount", "2.500000"}}));
    EXPECT_EQ(set.brushes[2].get(), set.currentBrush);
    EXPECT_EQ(set.strokes[2].get(), set.currentStroke);
    EXPECT_EQ(set.applications[1].get(), set.currentApplication);
    EXPECT_EQ(3, set.currentApplication->findParameter("passes").values[0]);
    EXPECT_EQ(250, set.currentApplication->findParameter("amount").values[0]);

    // "default" and missing keys mean the first of the kind, whose values
    // are then read (here: all missing, so back to the defaults).
    set.brushes[0]->findParameter("pushintensity").setValue(90, 0);
    set.load(preset({{"brush.id", "default"}}));
    EXPECT_EQ(set.brushes[0].get(), set.currentBrush);
    EXPECT_EQ(set.strokes[0].get(), set.currentStroke);
    EXPECT_EQ(set.applications[0].get(), set.currentApplication);
    EXPECT_EQ(50, set.brushes[0]->findParameter("pushintensity").values[0]);

    // The reserved word is case-sensitive: "Default" names no brush.
    set.selectBrush(3);
    set.load(preset({{"brush.id", "Default"}}));
    EXPECT_EQ(set.brushes[3].get(), set.currentBrush);
}

TEST_F(ComponentSetTest, UnknownIdKeepsTheChoiceAndReadsNoneOfItsKeys)
{
    ComponentSet set(preset({{"stroke.id", "Vector2Stroke"}}));
    StrokeAlgorithm* stroke = set.currentStroke;
    ASSERT_EQ(set.strokes[2].get(), stroke);
    srand(9);
    stroke->randomize();
    const std::vector<int> before = valuesOf(*stroke);

    RecordingReader reader;
    reader.bag = preset({{"brush.id", "_swaprgb"},
                         {"stroke.id", "NoSuchStroke"},
                         {"stroke.length.start", "3"},
                         {"stroke.length.end", "4"},
                         {"application.id", "single_grid"},
                         {"application.passes", "2"}});
    set.load(reader);
    EXPECT_EQ(stroke, set.currentStroke);
    EXPECT_EQ(before, valuesOf(*stroke));
    EXPECT_FALSE(reader.asked("stroke.", "stroke.id"));
    EXPECT_TRUE(reader.asked("brush.", "brush.id"));
    EXPECT_EQ(set.brushes[1].get(), set.currentBrush);
    EXPECT_EQ(set.applications[1].get(), set.currentApplication);
    EXPECT_EQ(2, set.currentApplication->findParameter("passes").values[0]);

    // Ids of another kind are unknown too: a brush never becomes the stroke.
    set.load(preset({{"brush.id", "random"},
                     {"stroke.id", "_SwapPoint"},
                     {"application.id", "ParamAngleStroke"}}));
    EXPECT_EQ(set.brushes[1].get(), set.currentBrush);
    EXPECT_EQ(stroke, set.currentStroke);
    EXPECT_EQ(set.applications[1].get(), set.currentApplication);
    EXPECT_EQ(before, valuesOf(*stroke));
}

TEST_F(ComponentSetTest, FindParameterByPrefixedKey)
{
    ComponentSet set(PropertyBag{});
    set.selectApplication(1);
    EXPECT_EQ(&set.currentApplication->findParameter("passes"), set.findParameter("application.passes"));
    EXPECT_EQ(&set.currentApplication->findParameter("amount"), set.findParameter("application.amount"));
    EXPECT_EQ(&set.currentBrush->findParameter("pushintensity"), set.findParameter("brush.pushintensity"));
    Parameter* length = &set.currentStroke->findParameter("length");
    ASSERT_NE(&defaultParameter(), length);
    EXPECT_EQ(length, set.findParameter("stroke.length"));
    EXPECT_EQ(length, set.findParameter("xxxxxx.length")); // any seven-character prefix
    EXPECT_EQ(length, set.findParameter("brushXXlength"));

    // Unknown ids and keys too short for any prefix give the shared default.
    for (const char* key : {"", "abc", "stroke", "stroke.", "brush.", "application.", "application.nosuch",
                            "brush.length", "applicat"})
        EXPECT_EQ(&defaultParameter(), set.findParameter(key)) << key;
}

TEST_F(ComponentSetTest, SaveAndLoadRoundTripEveryComponent)
{
    ComponentSet::setControlKeyQuery(&keyDown);
    for (int i = 0; i < 6; ++i) {
        ComponentSet set(PropertyBag{});
        set.selectBrush(i);
        set.selectStroke(i % 4);
        set.selectApplication(i % 2);
        srand(100 + i);
        set.currentBrush->randomize();
        set.currentStroke->randomize();
        set.currentApplication->randomize();
        ComponentSet fresh(PropertyBag{});
        EXPECT_NE(valuesOf(*fresh.brushes[i]), valuesOf(*set.currentBrush)) << "nothing randomized";

        PropertyBag bag;
        set.save(bag);
        EXPECT_EQ(set.currentBrush->id, bag.getString("brush.id", ""));
        EXPECT_EQ(set.currentStroke->id, bag.getString("stroke.id", ""));
        EXPECT_EQ(set.currentApplication->id, bag.getString("application.id", ""));
        const String stamp = bag.getString("lastedit", "");
        ASSERT_EQ(19u, stamp.size()) << stamp;
        for (size_t k = 0; k < stamp.size(); ++k) {
            const char expected = k == 4 || k == 7 ? '/' : k == 10 ? ' ' : k == 13 || k == 16 ? ':' : '0';
            if (expected == '0')
                EXPECT_TRUE(stamp[k] >= '0' && stamp[k] <= '9') << stamp;
            else
                EXPECT_EQ(expected, stamp[k]) << stamp;
        }

        ComponentSet loaded(bag);
        EXPECT_EQ(i, indexOf(loaded.brushes, loaded.brushCount, loaded.currentBrush));
        EXPECT_EQ(i % 4, indexOf(loaded.strokes, loaded.strokeCount, loaded.currentStroke));
        EXPECT_EQ(i % 2, indexOf(loaded.applications, loaded.applicationCount,
                                 loaded.currentApplication));
        EXPECT_EQ(valuesOf(*set.currentBrush), valuesOf(*loaded.currentBrush)) << set.currentBrush->id;
        EXPECT_EQ(valuesOf(*set.currentStroke), valuesOf(*loaded.currentStroke)) << set.currentStroke->id;
        EXPECT_EQ(valuesOf(*set.currentApplication), valuesOf(*loaded.currentApplication))
            << set.currentApplication->id;
    }
}

TEST_F(ComponentSetTest, RandomizeDrawsKindsThenValuesInOrder)
{
    for (unsigned seed : {1u, 2u, 3u, 42u, 31337u}) {
        ComponentSet set(PropertyBag{});
        srand(seed);
        set.randomize();
        const int afterSet = rand();

        Lcg lcg(seed);
        const int b = lcg.next() % 6;
        const int s = lcg.next() % 3;
        const int a = lcg.next() % 2;
        ASSERT_EQ(set.brushes[b].get(), set.currentBrush) << seed;
        ASSERT_EQ(set.strokes[s].get(), set.currentStroke) << seed;
        ASSERT_EQ(set.applications[a].get(), set.currentApplication) << seed;

        // The same draws by hand: brush values, then stroke, then application.
        ComponentSet byHand(PropertyBag{});
        srand(seed);
        rand();
        rand();
        rand();
        byHand.brushes[b]->randomize();
        byHand.strokes[s]->randomize();
        byHand.applications[a]->randomize();
        EXPECT_EQ(afterSet, rand());
        EXPECT_EQ(valuesOf(*byHand.brushes[b]), valuesOf(*set.currentBrush));
        EXPECT_EQ(valuesOf(*byHand.strokes[s]), valuesOf(*set.currentStroke));
        EXPECT_EQ(valuesOf(*byHand.applications[a]), valuesOf(*set.currentApplication));
    }
}

TEST_F(ComponentSetTest, MutateLeavesTheApplicationAlone)
{
    ComponentSet set(preset({{"application.id", "single_grid"}, {"application.passes", "4"}}));
    const std::vector<int> before = valuesOf(*set.currentApplication);
    srand(3);
    for (int i = 0; i < 20; ++i)
        set.mutate();
    EXPECT_EQ(before, valuesOf(*set.currentApplication));
}

namespace {

// A 64 x 64 scene with gradients, hard edges and a little texture.
void fillScene(Image& image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            int r = x * 4, g = y * 4, b = 128;
            if ((x - 32) * (x - 32) + (y - 28) * (y - 28) < 180) {
                r = 230;
                g = 40;
                b = 30;
            }
            if (y > 44 && x > 8 && x < 56)
                b = 20, g = 200;
            const int grain = int((x * 7919u + y * 104729u) % 23) - 11;
            auto clip = [](int v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); };
            image.setPixel(x, y, Pixel(clip(r + grain), clip(g + grain), clip(b - grain), 255));
        }
    }
}

struct Scene
{
    Scene() : source(64, 64, 6), target(64, 64, 6)
    {
        fillScene(source);
        restore();
        canvas.reference = &source;
        canvas.target = &target;
        canvas.area = Rect(0, 0, 64, 64);
    }
    void restore() { std::memcpy(target.bits(), source.bits(), source.stride() * 64); }
    std::vector<uint8_t> bytes() const
    {
        return std::vector<uint8_t>(target.bits(), target.bits() + target.stride() * 64);
    }
    bool unchanged() const { return std::memcmp(target.bits(), source.bits(), source.stride() * 64) == 0; }

    OwnedBitmap source;
    OwnedBitmap target;
    Canvas canvas;
};

std::vector<uint8_t> render(Scene& scene, const PropertyBag& presetBag, unsigned seed, bool* ok)
{
    scene.restore();
    ComponentSet set(presetBag);
    bool flag = false;
    DefaultRenderCallbacks callbacks(&flag);
    srand(seed);
    *ok = set.paint(scene.canvas, callbacks);
    return scene.bytes();
}

} // namespace

TEST_F(ComponentSetTest, RenderPaintsAndRepeatsByteForByte)
{
    const std::vector<PropertyBag> presets = {
        PropertyBag{},
        preset({{"brush.id", "_swaprgb"}, {"stroke.id", "ParamAngle2dStroke"}}),
        preset({{"brush.id", "_swaphsv"}, {"stroke.id", "Vector2Stroke"}}),
        preset({{"brush.id", "_swapblend"}, {"application.id", "single_grid"}}),
        preset({{"brush.id", "_ImageCopyBrush"}, {"stroke.id", "Vector2Stroke"}}),
        preset({{"brush.id", "_ColorPointBrush"}, {"application.id", "single_grid"}}),
    };
    Scene scene;
    for (size_t i = 0; i < presets.size(); ++i) {
        bool ok = false;
        const std::vector<uint8_t> first = render(scene, presets[i], 1234, &ok);
        EXPECT_TRUE(ok) << i;
        EXPECT_FALSE(scene.unchanged()) << "preset " << i << " painted nothing";
        const std::vector<uint8_t> second = render(scene, presets[i], 1234, &ok);
        EXPECT_TRUE(ok) << i;
        EXPECT_TRUE(first == second) << "preset " << i << " differs between runs";
    }
    // A different seed gives a different picture.
    bool ok = false;
    EXPECT_FALSE(render(scene, presets[0], 1234, &ok) == render(scene, presets[0], 99, &ok));
}

// An empty area is still a run: the random pattern spends its budget
// placing nothing, reports its progress and completes; the grid refuses.
TEST_F(ComponentSetTest, EmptyAreaRunsThePattern)
{
    struct Counting : DefaultRenderCallbacks {
        Counting() : DefaultRenderCallbacks(&flag) {}
        bool progress(float fraction) override
        {
            last = fraction;
            ++reports;
            return DefaultRenderCallbacks::progress(fraction);
        }
        void finished() override { ++finishes; }
        bool flag = false;
        float last = -1.0f;
        int reports = 0;
        int finishes = 0;
    };
    Scene scene;
    ComponentSet set(PropertyBag{});
    for (const Rect& area : {Rect(10, 10, 10, 40), Rect(5, 20, 60, 20)}) {
        Canvas empty = scene.canvas;
        empty.area = area;
        Counting random;
        EXPECT_TRUE(set.paint(empty, random));
        EXPECT_GE(random.reports, 1);
        EXPECT_FLOAT_EQ(1.0f, random.last);
        EXPECT_EQ(1, random.finishes);
    }
    ASSERT_TRUE(set.selectApplication(1));
    Canvas empty = scene.canvas;
    empty.area = Rect(10, 10, 10, 40);
    Counting grid;
    EXPECT_FALSE(set.paint(empty, grid));
    EXPECT_EQ(0, grid.reports + grid.finishes);
    EXPECT_TRUE(scene.unchanged());
}

TEST_F(ComponentSetTest, PaintWithoutPixelsOrCancelledChangesNothing)
{
    Scene scene;
    ComponentSet set(PropertyBag{});
    bool flag = false;
    DefaultRenderCallbacks callbacks(&flag);

    Canvas noTarget = scene.canvas;
    noTarget.target = nullptr;
    EXPECT_FALSE(set.paint(noTarget, callbacks));
    OwnedBitmap nothing;
    Canvas emptyReference = scene.canvas;
    emptyReference.reference = &nothing;
    EXPECT_FALSE(set.paint(emptyReference, callbacks));
    EXPECT_TRUE(scene.unchanged());

    callbacks.cancel();
    EXPECT_FALSE(set.paint(scene.canvas, callbacks));
    EXPECT_TRUE(scene.unchanged());

    // begin alone prepares the run without painting.
    callbacks.reset();
    set.begin(scene.canvas);
    EXPECT_EQ(&scene.canvas, set.currentBrush->canvas);
    EXPECT_EQ(&scene.canvas, set.currentStroke->canvas);
    EXPECT_EQ(&scene.canvas, set.currentApplication->canvas);
    EXPECT_GE(set.currentApplication->budget, 5);
    EXPECT_TRUE(scene.unchanged());
}
