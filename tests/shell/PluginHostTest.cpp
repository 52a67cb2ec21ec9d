// The plug-in host with small test plug-ins (well-behaved, missing export,
// not a library, missing dependency, lying settings length, NaN progress,
// careless floating-point settings) and the real painting plug-in.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "OperationTestSupport.h"
#include "ShellFilterSupport.h"
#include "foundation/ModulePaths.h"
#include "image/OwnedBitmap.h"
#include "shell/host/FloatingPointState.h"
#include "shell/host/PluginMenu.h"
#include "shell/host/PluginModule.h"
#include "shell/host/PluginRegistry.h"

using namespace shelltest;

namespace {

String testPlugin(const char* name)
{
    return ModulePaths::exeDirectory() + "testplugins\\" + name + ".qlplg";
}

// A fresh folder below the temporary folder, removed with its files.
class ScratchFolder
{
public:
    explicit ScratchFolder(const char* name) : path_(tempFolder() + name + "\\")
    {
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder()
    {
        for (const String& file : files_)
            DeleteFileA(file.c_str());
        for (auto it = folders_.rbegin(); it != folders_.rend(); ++it)
            RemoveDirectoryA(it->c_str());
        RemoveDirectoryA(path_.c_str());
    }
    String copy(const String& from, const String& name)
    {
        const String to = path_ + name;
        CopyFileA(from.c_str(), to.c_str(), FALSE);
        files_.push_back(to);
        return to;
    }
    String write(const String& name, const char* text)
    {
        const String to = path_ + name;
        HANDLE h = CreateFileA(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(h, text, DWORD(std::strlen(text)), &written, nullptr);
        CloseHandle(h);
        files_.push_back(to);
        return to;
    }
    void makeFolder(const String& name)
    {
        CreateDirectoryA((path_ + name).c_str(), nullptr);
        folders_.push_back(path_ + name);
    }
    const String& path() const { return path_; }

private:
    String path_;
    std::vector<String> files_;
    std::vector<String> folders_;
};

bool sameState(const FloatingPointState& a, const FloatingPointState& b)
{
    return a.x87Control == b.x87Control && (a.mxcsr & 0xFFC0u) == (b.mxcsr & 0xFFC0u);
}

String menuText(HMENU menu, int position)
{
    char text[261] = {0};
    GetMenuStringA(menu, UINT(position), text, 260, MF_BYPOSITION);
    return text;
}

TEST(PluginHost, LoadingRefusesWhatIsNoPluginWithoutUsingCommandIds)
{
    PluginRegistry registry;
    ScratchFolder folder("qx_plugin_scan");
    folder.copy(testPlugin("noexport"), "a_noexport.qlplg");
    folder.write("b_notadll.qlplg", "this is text, not a library");
    folder.copy(testPlugin("missingdep"), "c_missingdep.qlplg");
    folder.copy(testPlugin("good"), "d_good.qlplg");
    folder.makeFolder("sub");
    folder.copy(testPlugin("fpu"), "sub\\e_fpu.qlplg");

    // A missing dependency must not raise the system's error dialog, and
    // the error mode is the caller's again afterwards.
    const UINT mode = SetErrorMode(0);
    SetErrorMode(mode);
    EXPECT_TRUE(registry.scanFolder(folder.path(), false));
    EXPECT_EQ(SetErrorMode(mode), mode);

    ASSERT_EQ(registry.ids(), std::vector<String>{"qx_test_good"});
    EXPECT_EQ(registry.find("qx_test_good")->commandId(), PluginRegistry::kFirstCommand);
    EXPECT_EQ(registry.idForCommand(PluginRegistry::kFirstCommand), "qx_test_good");
    EXPECT_EQ(registry.idForCommand(PluginRegistry::kFirstCommand + 1), "");
    EXPECT_EQ(registry.nextCommandId(), PluginRegistry::kFirstCommand + 1);
    EXPECT_EQ(registry.find("qx_test_fpu"), nullptr) << "subfolders are not scanned";
    EXPECT_FALSE(registry.loadPlugin(folder.path() + "absent.qlplg"));
}

TEST(PluginHost, CommandIdsStopAtTheEndOfTheirRange)
{
    PluginRegistry registry;
    const String path = testPlugin("good");
    int loaded = 0;
    while (registry.loadPlugin(path) && loaded <= 5000)
        ++loaded;
    EXPECT_EQ(loaded, PluginRegistry::kLastCommand - PluginRegistry::kFirstCommand + 1);
    EXPECT_EQ(registry.nextCommandId(), PluginRegistry::kLastCommand + 1);
    // A later file with the same identifier replaced the earlier ones; every
    // command still resolves to the one module.
    EXPECT_EQ(registry.ids().size(), 1u);
    EXPECT_EQ(registry.idForCommand(PluginRegistry::kFirstCommand), "qx_test_good");
    EXPECT_EQ(registry.find("qx_test_good")->commandId(), PluginRegistry::kLastCommand);
}

TEST(PluginHost, RunsKeepConfirmedSettingsForTheNextRun)
{
    PluginRegistry registry;
    ASSERT_TRUE(registry.loadPlugin(testPlugin("good")));
    PluginModule& good = *registry.find("qx_test_good");
    EXPECT_STREQ(good.menuName(), "Good");
    EXPECT_STREQ(good.vendor(), "QX Tests");

    OwnedBitmap source(6, 4, 6), destination;
    fillPattern(source, 5);
    EXPECT_TRUE(good.accepts(source));
    OwnedBitmap grey(6, 4, 2);
    EXPECT_FALSE(good.accepts(grey));

    SinkLog sink;
    ASSERT_TRUE(good.prepareDestination(source, destination));
    ASSERT_TRUE(good.apply(source, destination, sink));
    EXPECT_EQ(sink.fractions, (std::vector<float>{0.5f, 1.0f}));
    EXPECT_EQ(sink.finishedCount, 1);
    const uint8_t* s = source.row(0);
    const uint8_t* d = destination.row(0);
    EXPECT_EQ(d[0], 255 - s[0]);
    EXPECT_EQ(d[3], s[3]) << "alpha is the copy of the source";
    EXPECT_EQ(good.settingsText(), "runs=1;capacity=65536");

    ASSERT_TRUE(good.prepareDestination(source, destination));
    ASSERT_TRUE(good.apply(source, destination, sink));
    EXPECT_EQ(good.settingsText(), "runs=2;capacity=65536");

    // Mismatched images are refused without a call.
    OwnedBitmap other(5, 4, 6);
    EXPECT_FALSE(good.apply(source, other, sink));
    EXPECT_EQ(good.settingsText(), "runs=2;capacity=65536");

    // A sink that stops makes the run fail and keeps the settings.
    SinkLog stopping(1);
    EXPECT_FALSE(good.apply(source, destination, stopping));
    EXPECT_EQ(good.settingsText(), "runs=2;capacity=65536");
}

TEST(PluginHost, BrokenSettingsFieldsAreRestoredAndAFailedRunKeepsItsText)
{
    PluginRegistry registry;
    ASSERT_TRUE(registry.loadPlugin(testPlugin("liar")));
    PluginModule& liar = *registry.find("qx_test_liar");
    SinkLog sink;
    {
        OwnedBitmap source(4, 2, 4), destination(4, 2, 4);
        ASSERT_TRUE(liar.apply(source, destination, sink));
        ASSERT_EQ(liar.settingsText(), "kept=1");
    }
    // Width 1: length beyond the capacity; 2: negative length.
    for (int width = 1; width <= 2; ++width) {
        OwnedBitmap source(width, 2, 4), destination(width, 2, 4);
        EXPECT_TRUE(liar.apply(source, destination, sink)) << width;
        EXPECT_EQ(liar.settingsText(), "kept=1") << width;
    }
    // Width 3: a run that fails after its settings were written (a pattern
    // that paints nothing) still hands them to the next run.
    OwnedBitmap source(3, 2, 4), destination(3, 2, 4);
    EXPECT_FALSE(liar.apply(source, destination, sink));
    EXPECT_EQ(liar.settingsText(), "scribbled over the settings");
}

TEST(PluginHost, ProgressIsClampedAndBoolsAreReadByTheirLowByte)
{
    PluginRegistry registry;
    ASSERT_TRUE(registry.loadPlugin(testPlugin("nan")));
    PluginModule& nan = *registry.find("qx_test_nan");
    OwnedBitmap rgba(3, 3, 6), rgb(3, 3, 4), destination(3, 3, 6);
    // canProcess answers 0x0201 for format 6 and 0x0100 for the others.
    EXPECT_TRUE(nan.accepts(rgba));
    EXPECT_FALSE(nan.accepts(rgb));

    SinkLog sink;
    // processImage answers 0x0100: false.
    EXPECT_FALSE(nan.apply(rgba, destination, sink));
    EXPECT_EQ(sink.fractions, (std::vector<float>{0.0f, 0.0f, 1.0f, 0.25f}));
}

TEST(PluginHost, FloatingPointSettingsAreRestoredAfterEveryCall)
{
    const FloatingPointState host = FloatingPointState::current();
    PluginRegistry registry;
    ASSERT_TRUE(registry.loadPlugin(testPlugin("fpu")));
    EXPECT_TRUE(sameState(FloatingPointState::current(), host)) << "after getInfo";

    PluginModule& fpu = *registry.find("qx_test_fpu");
    OwnedBitmap source(4, 4, 4), destination;
    EXPECT_TRUE(fpu.accepts(source));
    EXPECT_TRUE(sameState(FloatingPointState::current(), host)) << "after canProcess";

    SinkLog sink;
    ASSERT_TRUE(fpu.prepareDestination(source, destination));
    ASSERT_TRUE(fpu.apply(source, destination, sink));
    EXPECT_TRUE(sameState(FloatingPointState::current(), host)) << "after processImage";
    // The second report came after the plug-in changed its settings; the
    // host's code still ran with its own.
    ASSERT_EQ(sink.statesSeen.size(), 2u);
    EXPECT_TRUE(sameState(sink.statesSeen[1], host));
}

TEST(PluginHost, EffectsMenuGroupsByVendorInIdentifierOrder)
{
    PluginRegistry registry;
    for (const char* name : {"good", "nan", "fpu"})
        ASSERT_TRUE(registry.loadPlugin(testPlugin(name)));
    HMENU bar = CreateMenu();
    addPluginMenuItems(bar, registry);
    ASSERT_EQ(GetMenuItemCount(bar), 1);
    EXPECT_EQ(menuText(bar, 0), "Effects");
    HMENU effects = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(effects), 1);
    EXPECT_EQ(menuText(effects, 0), "QX Tests");
    HMENU vendor = GetSubMenu(effects, 0);
    ASSERT_EQ(GetMenuItemCount(vendor), 3);
    EXPECT_EQ(menuText(vendor, 0), "Fpu");
    EXPECT_EQ(menuText(vendor, 1), "Good");
    EXPECT_EQ(menuText(vendor, 2), "Odd");
    EXPECT_EQ(GetMenuItemID(vendor, 1), UINT(registry.find("qx_test_good")->commandId()));
    HMENU odd = GetSubMenu(vendor, 2);
    ASSERT_NE(odd, nullptr);
    EXPECT_EQ(menuText(odd, 0), "Nan");

    // A path ending in "\" adds an item without text; id 0 a separator.
    EXPECT_TRUE(appendMenuPath(bar, 7, "Effects\\QX Tests\\"));
    EXPECT_EQ(GetMenuItemCount(vendor), 4);
    EXPECT_TRUE(appendMenuPath(bar, 0, "Effects\\x"));
    EXPECT_FALSE(appendMenuPath(nullptr, 1, "a"));
    DestroyMenu(bar);

    // No plug-ins: no "Effects" menu.
    PluginRegistry none;
    HMENU empty = CreateMenu();
    addPluginMenuItems(empty, none);
    EXPECT_EQ(GetMenuItemCount(empty), 0);
    DestroyMenu(empty);
}

TEST(PluginHost, TheRealPaintingPlugin)
{
    HMENU bar = CreateMenu();
    buildPluginMenu(bar);
    PluginRegistry& registry = PluginRegistry::instance();
    PluginModule* daub = registry.find("quillorantix_daubcrafter_1.1.2.");
    ASSERT_NE(daub, nullptr) << "plugins\\Quillorantix_Daubcrafter.qlplg below the test program";
    EXPECT_STREQ(daub->menuName(), "Daubcrafter...");
    EXPECT_STREQ(daub->vendor(), "Quillorantix");
    EXPECT_STREQ(daub->info().category, "paint effects");
    EXPECT_EQ(daub->commandId(), PluginRegistry::kFirstCommand);

    for (int format : {4, 6}) {
        OwnedBitmap image(8, 8, format);
        EXPECT_TRUE(daub->accepts(image)) << format;
    }
    OwnedBitmap grey(8, 8, 2);
    EXPECT_FALSE(daub->accepts(grey));

    HMENU vendor = GetSubMenu(GetSubMenu(bar, 0), 0);
    EXPECT_EQ(menuText(bar, 0), "Effects");
    EXPECT_EQ(menuText(GetSubMenu(bar, 0), 0), "Quillorantix");
    EXPECT_EQ(menuText(vendor, 0), "Daubcrafter...");
    EXPECT_EQ(GetMenuItemID(vendor, 0), UINT(PluginRegistry::kFirstCommand));
    DestroyMenu(bar);
}

} // namespace
