// The preset file installed beside the plug-in: readable, complete, covering
// every component kind, and every preset paints.
#include <gtest/gtest.h>

#include <set>

#include "PluginTestSupport.h"
#include "engine/ComponentSet.h"
#include "engine/applications/ApplicationPattern.h"
#include "engine/brushes/Brush.h"
#include "engine/strokes/StrokeAlgorithm.h"
#include "foundation/IniText.h"
#include "foundation/PropertyBag.h"
#include "foundation/SessionSettingsStore.h"
#include "foundation/StringBuffer.h"

using namespace plugintest;

namespace {

TEST(ShippedPresetsTest, EveryComponentIsCoveredAndEveryPresetPaints)
{
    ASSERT_TRUE(plugin().loaded());
    SessionSettingsStore presets;
    ASSERT_NO_THROW(loadIniFile(programFolder() + "DaubcrafterPresets.ini", presets));
    ASSERT_GE(presets.sectionNames().size(), 8u);

    std::set<String> brushes, strokes, applications;
    for (const String& name : presets.sectionNames()) {
        SCOPED_TRACE(name);
        const PropertyBag& preset = presets.findSection(name);
        EXPECT_EQ(preset.getString("name", ""), name);
        EXPECT_FALSE(preset.getString("description", "").empty());
        EXPECT_EQ(preset.getString("type", ""), "dw1");
        EXPECT_FALSE(preset.getString("lastedit", "").empty());
        brushes.insert(preset.getString("brush.id", "default"));
        strokes.insert(preset.getString("stroke.id", "default"));
        applications.insert(preset.getString("application.id", "default"));

        // The preset must select what it names, not fall back.
        ComponentSet set(preset);
        EXPECT_EQ(set.currentBrush->id, preset.getString("brush.id", ""));
        EXPECT_EQ(set.currentStroke->id, preset.getString("stroke.id", ""));
        EXPECT_EQ(set.currentApplication->id, preset.getString("application.id", ""));

        SessionSettingsStore working;
        working.section("_current") = preset;
        StringBuffer text;
        writeIni(text, working);
        TestImage source(96, 96, 4);
        drawScene(source);
        TestImage destination(96, 96, 4);
        SettingsBuffer settings(text);
        PluginRequest request = makeRequest(source, destination, &settings);
        srand(2);
        EXPECT_TRUE(plugin().processImage(&request));
        EXPECT_GT(destination.countDifferentPixels(source), 96 * 96 / 50);
    }

    ComponentSet all{PropertyBag()};
    for (int i = 0; i < all.brushCount; ++i)
        EXPECT_EQ(brushes.count(all.brushes[i]->id), 1u) << all.brushes[i]->id;
    for (int i = 0; i < all.strokeCount; ++i)
        EXPECT_EQ(strokes.count(all.strokes[i]->id), 1u) << all.strokes[i]->id;
    for (int i = 0; i < all.applicationCount; ++i)
        EXPECT_EQ(applications.count(all.applications[i]->id), 1u) << all.applications[i]->id;
}

} // namespace
