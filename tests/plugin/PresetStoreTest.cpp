#include <gtest/gtest.h>

#include "FrontEndTestSupport.h"
#include "foundation/IniFile.h"
#include "foundation/PropertyBag.h"
#include "framework/Application.h"
#include "plugin/PluginApp.h"
#include "plugin/PresetRecords.h"
#include "plugin/PresetStore.h"

namespace {

using namespace plugintest;

PresetLocations testLocations;
PresetLocations currentTestLocations()
{
    return testLocations;
}

class PresetFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testLocations.moduleFolder = scratch.path + "module\\";
        testLocations.programFilesFolder = scratch.path + "pf\\";
        testLocations.userFolder = scratch.path + "user\\";
        CreateDirectoryA(testLocations.moduleFolder.c_str(), nullptr);
        CreateDirectoryA(testLocations.programFilesFolder.c_str(), nullptr);
        setPresetLocationsQuery(&currentTestLocations);
    }
    void TearDown() override { setPresetLocationsQuery(nullptr); }

    std::string programFilesFile() const
    {
        return testLocations.programFilesFolder + "/Quillorantix/presets/DaubcrafterPresets.ini";
    }
    std::string userFile() const
    {
        return testLocations.userFolder + "Quillorantix/presets/DaubcrafterPresets.ini";
    }

    ScratchFolder scratch{"qx_preset_tests"};
};

TEST_F(PresetFiles, TheFileBesideTheDllWinsElseProgramFilesWithAMixedSeparator)
{
    EXPECT_EQ(programFilesFile(), presetStorePath(testLocations));
    {
        std::unique_ptr<PresetStore> store(openPresetStore());
        EXPECT_TRUE(store->sectionNames().empty());
        EXPECT_FALSE(store->modified);
    }
    // Opening and closing unchanged creates nothing.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((testLocations.programFilesFolder + "Quillorantix").c_str()));

    CreateDirectoryA((testLocations.programFilesFolder + "Quillorantix").c_str(), nullptr);
    CreateDirectoryA((testLocations.programFilesFolder + "Quillorantix\\presets").c_str(), nullptr);
    writeTextFile(programFilesFile(), "[pf]\r\nname=pf\r\n");
    writeTextFile(testLocations.moduleFolder + "DaubcrafterPresets.ini", "[beside]\r\nname=b\r\n");
    std::unique_ptr<PresetStore> store(openPresetStore());
    EXPECT_TRUE(store->hasSection("beside"));
    EXPECT_FALSE(store->hasSection("pf"));
}

TEST_F(PresetFiles, SavingCreatesTheMissingFolder)
{
    {
        std::unique_ptr<PresetStore> store(openPresetStore());
        store->sectionWriter("mine").setString("name", "mine");
        store->modified = true;
    }
    EXPECT_NE(std::string::npos, readTextFile(programFilesFile()).find("[mine]"));
}

TEST_F(PresetFiles, AnUnwritableFolderSendsThePresetsToTheUserFolderOnceTold)
{
    // A file where the "Quillorantix" folder should be: no folder can be made.
    writeTextFile(testLocations.programFilesFolder + "Quillorantix", "in the way");
    MessageBoxRecorder boxes;
    {
        std::unique_ptr<PresetStore> store(openPresetStore());
        store->sectionWriter("first").setString("name", "first");
        store->modified = true;
    }
    ASSERT_NE(std::string::npos, readTextFile(userFile()).find("[first]"));
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_NE(String::npos, boxes.boxes[0].text.find("Quillorantix/presets/DaubcrafterPresets.ini"));

    // The next opening reads the per-user copy, and saving again keeps the
    // earlier preset and tells nobody again.
    {
        std::unique_ptr<PresetStore> store(openPresetStore());
        EXPECT_TRUE(store->hasSection("first"));
        store->sectionWriter("second").setString("name", "second");
        store->modified = true;
    }
    const std::string text = readTextFile(userFile());
    EXPECT_NE(std::string::npos, text.find("[first]"));
    EXPECT_NE(std::string::npos, text.find("[second]"));
    EXPECT_EQ(1u, boxes.boxes.size());
}

TEST_F(PresetFiles, AReadOnlyPresetFileIsReplacedInPlace)
{
    CreateDirectoryA((testLocations.programFilesFolder + "Quillorantix").c_str(), nullptr);
    CreateDirectoryA((testLocations.programFilesFolder + "Quillorantix\\presets").c_str(), nullptr);
    writeTextFile(programFilesFile(), "[old]\r\nname=old\r\n");
    SetFileAttributesA(programFilesFile().c_str(), FILE_ATTRIBUTE_READONLY);
    MessageBoxRecorder boxes;
    {
        std::unique_ptr<PresetStore> store(openPresetStore());
        ASSERT_TRUE(store->hasSection("old"));
        store->sectionWriter("new").setString("name", "new");
        store->modified = true;
    }
    const std::string text = readTextFile(programFilesFile());
    EXPECT_NE(std::string::npos, text.find("[old]"));
    EXPECT_NE(std::string::npos, text.find("[new]"));
    EXPECT_EQ(std::string::npos, readTextFile(userFile()).find("[new]"));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(PresetFiles, ImportKeepsTheNewerLasteditAndReportsWhatItTook)
{
    SessionSettingsStore store;
    PropertyBag& a = store.section("A");
    a.setString("lastedit", "2024/05/01 10:00:00");
    a.setString("brush.size", "1");
    a.setString("onlystored", "kept");
    store.section("Same").setString("lastedit", "2024/05/01 10:00:00");
    store.section("Same").setString("v", "stored");
    store.section("Garbled").setString("lastedit", "2024/05/01 10:00:00");
    store.section("Garbled").setString("v", "stored");
    store.modified = false;

    const std::string path = scratch.path + "import.presets";
    writeTextFile(path,
                  "[A]\r\nlastedit=2024/05/02 09:00:00\r\nbrush.size=2\r\n"
                  "[Same]\r\nlastedit=2024/05/01 10:00:00\r\nv=imported\r\n"
                  "[Garbled]\r\nlastedit=next tuesday\r\nv=imported\r\n"
                  "[NoDate]\r\nv=imported\r\n"
                  "[New]\r\nlastedit=1999/01/01 00:00:00\r\nv=imported\r\n");
    EXPECT_EQ(2, importPresetFile(store, path));
    EXPECT_TRUE(store.modified);
    EXPECT_EQ("2", store.findSection("A").get("brush.size", ""));
    EXPECT_EQ("kept", store.findSection("A").get("onlystored", ""));
    EXPECT_EQ("stored", store.findSection("Same").get("v", ""));
    EXPECT_EQ("stored", store.findSection("Garbled").get("v", ""));
    EXPECT_FALSE(store.hasSection("NoDate"));
    EXPECT_EQ("imported", store.findSection("New").get("v", ""));

    // The source is read, never rewritten; a missing file takes nothing.
    EXPECT_EQ(std::string::npos, readTextFile(path).find("onlystored"));
    EXPECT_EQ(0, importPresetFile(store, scratch.path + "missing.ini"));
}

// Keys above a file's first header are no preset: the user's file keeps
// named presets only, never an "[]" section.
TEST_F(PresetFiles, KeysBeforeTheFirstHeaderAreNotImported)
{
    const std::string path = scratch.path + "headless.presets";
    writeTextFile(path, "lastedit=2030/01/01 00:00:00\r\nbrush.size=9\r\n"
                        "[P]\r\nlastedit=2024/05/02 09:00:00\r\nbrush.size=2\r\n");
    const std::string userPresets = scratch.path + "mine.ini";
    writeTextFile(userPresets, "[A]\r\nlastedit=2024/05/01 10:00:00\r\n");
    {
        IniFile store(userPresets);
        EXPECT_EQ(1, importPresetFile(store, path));
        EXPECT_EQ(store.sectionNames(), (std::vector<String>{"A", "P"}));
    }
    const std::string saved = readTextFile(userPresets);
    EXPECT_EQ(std::string::npos, saved.find("[]"));
    EXPECT_EQ(std::string::npos, saved.find("2030"));
    EXPECT_NE(std::string::npos, saved.find("[P]\r\n"));
}

TEST_F(PresetFiles, ImportingTheStoresOwnFileChangesNothing)
{
    const std::string path = scratch.path + "own.ini";
    writeTextFile(path, "[A]\r\nlastedit=2024/05/02 09:00:00\r\nv=1\r\n");
    IniFile store(path);
    EXPECT_EQ(0, importPresetFile(store, path));
    EXPECT_FALSE(store.modified);
}

TEST(PresetDefaults, EverySectionGetsTheTemplateKeysANameAnAuthorAndTheType)
{
    SessionSettingsStore store;
    store.section("Named").setString("name", "Shown");
    store.section("Bare").setString("author", "Ann");
    PropertyBag keys;
    keys.setString("description", "");
    keys.setString("name", "");
    keys.setString("author", "");
    fillPresetDefaults(store, keys, "user");
    EXPECT_EQ("Shown", store.findSection("Named").get("name", ""));
    EXPECT_EQ("user", store.findSection("Named").get("author", ""));
    EXPECT_EQ("Bare", store.findSection("Bare").get("name", ""));
    EXPECT_EQ("Ann", store.findSection("Bare").get("author", ""));
    EXPECT_TRUE(store.findSection("Bare").contains("description"));
    EXPECT_EQ("dw1", store.findSection("Bare").get("type", ""));
    EXPECT_TRUE(store.modified);
}

TEST(GeneralSettings, ProfileValuesWithDefaultsAndTheAuthorNameAsStored)
{
    ASSERT_TRUE(attachFrontEnd());
    EXPECT_EQ("Software\\QxPluginTests\\Quillorantix\\daubcrafter\\general",
              pluginApp().sectionKeyPath("general"));
    EXPECT_TRUE(readGeneralSetting("autopreview", true));
    EXPECT_FALSE(readGeneralSetting("lefthanded", false));
    pluginApp().writeProfileInt("general", "lefthanded", 2);
    EXPECT_TRUE(readGeneralSetting("lefthanded", false));
    writeGeneralSetting("lefthanded", false);
    EXPECT_EQ(0, pluginApp().profileInt("general", "lefthanded", 9));

    EXPECT_EQ("user", readAuthorName());
    // The stored name is read as it stands, whatever its length.
    const std::string stored = std::string(100, 'x') + "<a|b> (c)";
    pluginApp().writeProfileString("general", "authorname", stored);
    EXPECT_EQ(stored, readAuthorName());
    writeAuthorName(stored + "[d]");
    EXPECT_EQ(stored + "[d]", pluginApp().profileString("general", "authorname", ""));
    pluginApp().writeProfileInt("general", "authorname", 5);
    EXPECT_EQ("user", readAuthorName());
    EXPECT_EQ("https://www.quillorantix.example/help.php?p=daubcrafter", helpPageAddress());
}

} // namespace
