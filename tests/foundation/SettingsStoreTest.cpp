#include <gtest/gtest.h>

#include <vector>

#include "foundation/MemorySettingsStore.h"
#include "foundation/PropertyReader.h"
#include "foundation/PropertyWriter.h"
#include "foundation/SectionCopyVisitor.h"
#include "foundation/SectionVisitor.h"
#include "foundation/SessionSettingsStore.h"

namespace {

struct Names : SectionVisitor {
    void visit(const String& name, PropertyBag& bag) override
    {
        names.push_back(name);
        sizes.push_back(bag.entries().size());
    }
    std::vector<String> names;
    std::vector<size_t> sizes;
};

// A store that counts its flushes, as seen from its own destructor.
struct CountingStore : SessionSettingsStore {
    explicit CountingStore(int* flushes) : flushes(flushes) {}
    ~CountingStore() override
    {
        if (modified)
            flush();
    }
    void flush() override
    {
        ++*flushes;
        SessionSettingsStore::flush();
    }
    int* flushes;
};

} // namespace

TEST(SettingsStore, ReadingMissingSectionCreatesNothing)
{
    MemorySettingsStore store;
    const PropertyReader& r = store.sectionReader("nope");
    EXPECT_EQ("dflt", r.getString("k", "dflt"));
    EXPECT_EQ(5, r.getInt("k", 5));
    EXPECT_TRUE(store.findSection("other").entries().empty());
    EXPECT_FALSE(store.hasSection("nope"));
    EXPECT_FALSE(store.sectionExists("other"));
    EXPECT_TRUE(store.sectionNames().empty());
    EXPECT_FALSE(store.modified);
}

TEST(SettingsStore, WritingCreatesWithoutMarkingModified)
{
    MemorySettingsStore store;
    store.sectionWriter("_current").setInt("brush.size", 4);
    EXPECT_TRUE(store.hasSection("_current"));
    EXPECT_TRUE(store.sectionExists("_current"));
    EXPECT_FALSE(store.modified);
    EXPECT_EQ(4, store.sectionReader("_current").getInt("brush.size", 0));
    EXPECT_EQ(&store.section("_current"), &store.findSection("_current"));
    store.section("empty");
    ASSERT_EQ(2u, store.sectionNames().size());
    EXPECT_FALSE(store.modified);
}

TEST(SettingsStore, RemoveSectionMarksModified)
{
    MemorySettingsStore store;
    store.section("a").setString("k", "v");
    EXPECT_EQ(0u, store.removeSection("missing"));
    EXPECT_FALSE(store.modified);
    EXPECT_EQ(1u, store.removeSection("a"));
    EXPECT_TRUE(store.modified);
    EXPECT_FALSE(store.hasSection("a"));
    store.flush();
    EXPECT_FALSE(store.modified);
    EXPECT_EQ(0u, store.removeSection("a"));
    EXPECT_FALSE(store.modified);
}

TEST(SettingsStore, NamesInByteOrder)
{
    MemorySettingsStore store;
    store.section("apple");
    store.section("Zebra");
    store.section("a");
    store.section("B");
    std::vector<String> names = store.sectionNames();
    ASSERT_EQ(4u, names.size());
    EXPECT_EQ("B", names[0]);
    EXPECT_EQ("Zebra", names[1]);
    EXPECT_EQ("a", names[2]);
    EXPECT_EQ("apple", names[3]);

    store.section("a").setString("x", "1");
    Names visit;
    store.forEachSection(visit);
    EXPECT_EQ(names, visit.names);
    EXPECT_EQ(1u, visit.sizes[2]);
}

TEST(SettingsStore, LowerCaseNamesFoldKeysToo)
{
    MemorySettingsStore store(true);
    store.sectionWriter("Presets").setString("Size", "3");
    EXPECT_TRUE(store.hasSection("presets"));
    EXPECT_TRUE(store.hasSection("PRESETS"));
    EXPECT_EQ(1u, store.sectionNames().size());
    EXPECT_EQ("3", store.sectionReader("presets").getString("SIZE", ""));

    MemorySettingsStore sensitive;
    sensitive.section("Presets");
    EXPECT_FALSE(sensitive.hasSection("presets"));
}

TEST(SettingsStore, DestructionFlushesAsSeenFromDerivedClass)
{
    int flushes = 0;
    {
        CountingStore store(&flushes);
        store.section("a");
    }
    EXPECT_EQ(0, flushes);
    {
        CountingStore store(&flushes);
        store.section("a");
        store.removeSection("a");
    }
    EXPECT_EQ(1, flushes);
    {
        MemorySettingsStore* store = new SessionSettingsStore;
        store->modified = true;
        delete store; // drops the change, writes nothing anywhere
    }
}

TEST(SettingsStore, SectionCopyVisitorCopiesAndMarks)
{
    SessionSettingsStore imported;
    imported.section("p1").setString("name", "one");
    imported.section("p1").setString("brush.size", "3");
    imported.section("p2").setString("name", "two");

    MemorySettingsStore presets;
    presets.section("p1").setString("author", "kept");
    presets.section("p1").setString("name", "old");
    SectionCopyVisitor copier(&presets);
    imported.forEachSection(copier);
    EXPECT_TRUE(presets.modified);
    EXPECT_EQ(2u, presets.sectionNames().size());
    EXPECT_EQ("one", presets.sectionReader("p1").getString("name", ""));
    EXPECT_EQ("kept", presets.sectionReader("p1").getString("author", ""));
    EXPECT_EQ("3", presets.sectionReader("p1").getString("brush.size", ""));
    EXPECT_EQ("two", presets.sectionReader("p2").getString("name", ""));

    // Copying a store into itself neither loops nor changes anything.
    SectionCopyVisitor self(&imported);
    imported.forEachSection(self);
    EXPECT_EQ(2u, imported.sectionNames().size());
    EXPECT_EQ(2u, imported.findSection("p1").entries().size());
}
