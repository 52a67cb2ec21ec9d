// The filter door driven by a developer host: through the DLL's ENTRYPOINT1
// with real buffers, and in process where the settings dialog is stood in.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "FilterHost.h"
#include "framework/GuiTestSupport.h"
#include "PluginTestSupport.h"
#include "foundation/FixedBufferReader.h"
#include "foundation/IniText.h"
#include "foundation/SessionSettingsStore.h"
#include "foundation/StringBuffer.h"
#include "plugin/DialogSeams.h"
#include "plugin/FilterBlocks.h"
#include "plugin/FilterEntry.h"
#include "plugin/HostHandle.h"
#include "plugin/SettingsText.h"

using namespace plugintest;

namespace {

const FilterModule& module()
{
    static FilterModule m = loadFilterModule(programFolder() + "Quillorantix_Daubcrafter.8bf");
    return m;
}

// Rows of the filter area whose pixels differ between input and output.
int changedPixels(const FilterHost& host)
{
    int n = 0;
    for (int y = 0; y < host.height; ++y)
        n += std::memcmp(&host.input[size_t(y) * host.rowBytes], &host.output[size_t(y) * host.rowBytes],
                         size_t(host.width) * host.planes) != 0;
    return n;
}

bool outputUntouched(const FilterHost& host)
{
    return std::all_of(host.output.begin(), host.output.end(), [](uint8_t b) { return b == 0x5A; });
}

// The block's settings read into the store, which must hold "_current" alone.
const PropertyBag& onlyCurrentOf(const FilterParameters& block, SessionSettingsStore& stored)
{
    FixedBufferReader reader(block.settings, block.settingsLength);
    readIni(reader, stored);
    EXPECT_EQ(stored.sectionNames(), std::vector<String>{"_current"});
    return stored.findSection("_current");
}

bool rectIsZero(const FilterRect& r)
{
    return !r.top && !r.left && !r.bottom && !r.right;
}

class FilterEntryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(module().loaded()) << module().path << ": " << module().failure;
        ASSERT_EQ(module().entryName, "ENTRYPOINT1");
    }
};

// The loaded DLL reads its own profile: no quick help over the settings
// dialog, no automatic preview paint.
const char kPluginProfile[] = "Software\\Quillorantix\\daubcrafter\\general";

class FilterDialogTest : public FilterEntryTest
{
protected:
    void TearDown() override { guitest::pendingActions().clear(); }

    guitest::ScopedRegistryDword notFirstRun{HKEY_CURRENT_USER, kPluginProfile, "notfirstrun", 1};
    guitest::ScopedRegistryDword noAutoPreview{HKEY_CURRENT_USER, kPluginProfile, "autopreview", 0};
};

BOOL CALLBACK countWindow(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int threadWindows()
{
    int n = 0;
    EnumThreadWindows(GetCurrentThreadId(), &countWindow, LPARAM(&n));
    return n;
}

TEST_F(FilterEntryTest, PlainRenderPaintsAsksForNothingMoreAndReportsThousandths)
{
    for (int planes : {3, 4, 5}) {
        SCOPED_TRACE("planes " + std::to_string(planes));
        // A fifth plane is not asked for: the host delivers the four asked.
        FilterHost host(module().entry, 96, 72, planes == 5 ? 4 : planes);
        host.record.planes = int16_t(planes);
        srand(5);
        ASSERT_EQ(host.call(FilterSelectorPrepare), 0);
        EXPECT_EQ(host.record.bufferSpace, 0x10000);
        ASSERT_EQ(host.call(FilterSelectorStart), 0);
        EXPECT_EQ(host.record.inHiPlane, planes == 3 ? 2 : 3) << "at most four planes are asked";
        EXPECT_EQ(host.record.inRect.right, 96);
        host.deliverBuffers();
        ASSERT_EQ(host.call(FilterSelectorContinue), 0);
        EXPECT_TRUE(rectIsZero(host.record.inRect) && rectIsZero(host.record.outRect));
        EXPECT_EQ(host.call(FilterSelectorFinish), 0);
        EXPECT_NE(host.data, 0);

        EXPECT_GT(changedPixels(host), 72 / 2);
        for (int y = 0; y < host.height; ++y)
            for (int i = host.width * host.planes; i < host.rowBytes; ++i)
                ASSERT_EQ(host.output[size_t(y) * host.rowBytes + i], 0x5A) << "row padding written";
        ASSERT_FALSE(host.log.progress.empty());
        for (const auto& p : host.log.progress) {
            EXPECT_EQ(p.second, 1000);
            EXPECT_GE(p.first, 0);
            EXPECT_LE(p.first, 1000);
        }
    }
}

TEST_F(FilterEntryTest, TheDataSlotIsReusedAndAForeignOneReplaced)
{
    FilterHost host(module().entry, 64, 48, 3);
    srand(9);
    ASSERT_EQ(host.run(false), 0);
    const intptr_t kept = host.data;
    const std::vector<uint8_t> first = host.output;
    std::fill(host.output.begin(), host.output.end(), 0x5A);
    srand(9);
    ASSERT_EQ(host.run(false), 0);
    EXPECT_EQ(host.data, kept);
    EXPECT_TRUE(host.output == first) << "same seed, same block, same picture";

    // Host memory that is no block of ours, and an address nothing lives at.
    std::vector<uint8_t> foreign(64, 0xEE);
    for (intptr_t slot : {intptr_t(foreign.data()), intptr_t(0x10)}) {
        host.data = slot;
        ASSERT_EQ(host.run(false), 0);
        EXPECT_NE(host.data, slot);
        EXPECT_NE(host.data, 0);
    }
    EXPECT_TRUE(std::all_of(foreign.begin(), foreign.end(), [](uint8_t b) { return b == 0xEE; }));
}

TEST_F(FilterDialogTest, ModesAndPlanesOtherThanColourAreRefusedWithoutAWindow)
{
    const int windowsBefore = threadWindows();
    // A dialog that came up would be recorded and cancelled, not waited for.
    bool dialogShown = false;
    guitest::whenDialogUp([&](HWND d) {
        dialogShown = true;
        PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    });
    struct Case { int mode; int planes; };
    for (Case c : {Case{1, 1}, Case{3, 1}, Case{3, 2}, Case{4, 4}}) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + " planes " + std::to_string(c.planes));
        FilterHost host(module().entry, 32, 24, c.planes, c.mode);
        EXPECT_EQ(host.run(true), FilterResultBadMode);
        EXPECT_TRUE(outputUntouched(host));
        // The refused dialog request is gone: a colour run after it renders.
        FilterHost colour(module().entry, 32, 24, 3);
        EXPECT_EQ(colour.run(false), 0);
    }
    EXPECT_FALSE(dialogShown);
    guitest::pendingActions().clear();
    EXPECT_EQ(threadWindows(), windowsBefore);
}

TEST_F(FilterEntryTest, UnknownSelectorsAndMissingPointersAreAnsweredNotFollowed)
{
    FilterHost host(module().entry, 16, 16, 3);
    host.deliverBuffers();
    const uint8_t* recordBytes = reinterpret_cast<const uint8_t*>(&host.record);
    const std::vector<uint8_t> before(recordBytes, recordBytes + sizeof(FilterRecord));
    for (int16_t selector : {int16_t(6), int16_t(-1), int16_t(0x7FFF)}) {
        EXPECT_EQ(host.call(selector), FilterResultBadParameters);
        EXPECT_EQ(std::memcmp(before.data(), recordBytes, before.size()), 0);
    }
    EXPECT_TRUE(outputUntouched(host));

    module().entry(FilterSelectorContinue, &host.record, &host.data, nullptr);
    EXPECT_TRUE(outputUntouched(host)) << "no result to report: nothing done";
    int16_t result = 0x7777;
    module().entry(FilterSelectorPrepare, &host.record, nullptr, &result);
    EXPECT_EQ(result, FilterResultBadParameters);
    module().entry(FilterSelectorContinue, nullptr, &host.data, &result);
    EXPECT_EQ(result, FilterResultBadParameters);

}

TEST_F(FilterEntryTest, AboutIsOwnedByTheHostWindowAndAMissingOwnerIsNoFault)
{
    HWND hostWindow = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                      300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hostWindow, nullptr);
    FilterHost host(module().entry, 16, 16, 3);
    FilterPlatformData platform{hostWindow};
    FilterAboutRecord about{&platform};
    // Each box takes seconds to come up under Wine: the owned one and the
    // one without any record, whose owner the dialog finds itself.
    for (FilterAboutRecord* record : {&about, static_cast<FilterAboutRecord*>(nullptr)}) {
        HWND owner = nullptr;
        bool shown = false;
        guitest::whenDialogUp([&](HWND d) {
            shown = true;
            owner = GetWindow(d, GW_OWNER);
            PostMessageA(d, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 70));
        });
        EXPECT_EQ(host.about(record), 0);
        EXPECT_TRUE(shown);
        if (record == &about) {
            EXPECT_EQ(owner, hostWindow);
        }
        guitest::pendingActions().clear();
    }
    DestroyWindow(hostWindow);
}

TEST_F(FilterEntryTest, BuffersThatCannotHoldTheAreaAreRefusedAndAnEmptyAreaPaintsNothing)
{
    FilterHost host(module().entry, 40, 30, 3);
    ASSERT_EQ(host.call(FilterSelectorStart), 0);
    host.deliverBuffers();
    host.record.inData = nullptr;
    EXPECT_EQ(host.call(FilterSelectorContinue), FilterResultBadParameters);
    host.deliverBuffers();
    host.record.outRowBytes = 40 * 3 - 1;
    EXPECT_EQ(host.call(FilterSelectorContinue), FilterResultBadParameters);
    EXPECT_TRUE(outputUntouched(host));

    for (FilterRect area : {FilterRect{5, 5, 5, 20}, FilterRect{10, 30, 2, 4}}) {
        host.record.filterRect = area;
        ASSERT_EQ(host.call(FilterSelectorParameters), 0) << "with or without a dialog asked";
        ASSERT_EQ(host.call(FilterSelectorStart), 0);
        host.deliverBuffers();
        host.record.inData = host.record.outData = host.output.data();
        EXPECT_EQ(host.call(FilterSelectorContinue), 0);
        EXPECT_TRUE(rectIsZero(host.record.outRect));
    }
    EXPECT_TRUE(outputUntouched(host));
}

TEST_F(FilterEntryTest, AbortAtTheFirstPollLeavesTheCopyOfTheInput)
{
    for (uint8_t cancel : {uint8_t(1), uint8_t(0xFF)}) {
        FilterHost host(module().entry, 48, 40, 4);
        host.log.abortAtPoll = 1;
        host.log.cancelAnswer = cancel;
        EXPECT_EQ(host.run(false), FilterResultCancelled);
        EXPECT_GE(host.log.abortPolls, 1);
        EXPECT_EQ(changedPixels(host), 0);
    }
}

TEST_F(FilterEntryTest, ANestedCallDuringARenderIsTurnedAway)
{
    FilterHost host(module().entry, 64, 64, 3);
    host.log.nestedSelector = FilterSelectorContinue;
    EXPECT_EQ(host.run(false), 0);
    EXPECT_EQ(host.log.nestedResult, FilterResultFailed);
    EXPECT_GT(changedPixels(host), 0);
}

TEST_F(FilterDialogTest, DialogRequestsAndParameterBlocks)
{
    // Without Parameters and without a block: defaults, no block made.
    FilterHost plain(module().entry, 48, 48, 3);
    srand(4);
    ASSERT_EQ(plain.run(false), 0);
    EXPECT_EQ(plain.record.parameters, nullptr);

    // Parameters, the dialog cancelled: result 1, the area still asked as
    // Start asked it and nothing painted; the block now exists.
    FilterHost host(module().entry, 48, 48, 3);
    bool shown = false;
    guitest::whenDialogUp([&](HWND d) {
        shown = true;
        PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(host.run(true), FilterResultCancelled);
    EXPECT_TRUE(shown);
    guitest::pendingActions().clear();
    for (const FilterRect& r : {host.record.inRect, host.record.outRect})
        EXPECT_EQ(std::memcmp(&r, &host.record.filterRect, sizeof r), 0);
    EXPECT_TRUE(outputUntouched(host));
    ASSERT_NE(host.record.parameters, nullptr);
    EXPECT_EQ((*static_cast<FilterParameters**>(host.record.parameters))->settingsLength, 0u);
    // The run ended without Finish; the request must not outlive it.
    EXPECT_EQ(host.call(FilterSelectorFinish), 0);

    // A stale block: length beyond the text area, a heap pointer left in it.
    FilterParameters* block = *static_cast<FilterParameters**>(host.record.parameters);
    block->settingsLength = 0xFFFFFFF0u;
    block->presetStore = reinterpret_cast<void*>(0xDEADBEEF);
    srand(4);
    ASSERT_EQ(host.run(false), 0);
    EXPECT_EQ(block->presetStore, nullptr);
    EXPECT_EQ(block->settingsLength, uint32_t(FilterSettingsCapacity));
    EXPECT_TRUE(host.output == plain.output) << "a block of zeros holds the defaults";

    // A handle that is not ours is neither read nor written.
    std::vector<uint8_t> foreign(16, 0xCC);
    host.record.parameters = foreign.data();
    ASSERT_EQ(host.run(false), 0);
    EXPECT_TRUE(std::all_of(foreign.begin(), foreign.end(), [](uint8_t b) { return b == 0xCC; }));
}

TEST_F(FilterDialogTest, AppliedDialogOverTheHostWindowLeavesOnlyCurrentAndPaints)
{
    HWND hostWindow = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                      300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hostWindow, nullptr);
    FilterHost host(module().entry, 120, 90, 3);
    host.platform.hwnd = hostWindow;
    host.offerDisplayPixels();
    host.record.parameters = newHostHandle(sizeof(FilterParameters));
    FilterParameters* block = *static_cast<FilterParameters**>(host.record.parameters);
    const std::string before = "[other]\r\nkey=1\r\n[_current]\r\nbrush.id=_swaprgb\r\nname=Mine\r\n";
    std::memcpy(block->settings, before.data(), before.size());
    block->settingsLength = uint32_t(before.size());

    // Apply once the preview has been shown through the host; Cancel after
    // about three seconds without.
    HWND owner = nullptr;
    int polls = 0;
    std::function<void(HWND)> applyWhenShown = [&](HWND d) {
        if (host.log.displayCalls == 0 && ++polls < 100) {
            guitest::whenDialogUp(applyWhenShown);
            return;
        }
        owner = GetWindow(d, GW_OWNER);
        PostMessageA(d, WM_COMMAND, host.log.displayCalls ? IDOK : IDCANCEL, 0);
    };
    guitest::whenDialogUp(applyWhenShown);
    EXPECT_EQ(host.run(true), 0);
    DestroyWindow(hostWindow);
    EXPECT_EQ(owner, hostWindow);
    EXPECT_GT(changedPixels(host), 90 / 2);
    EXPECT_EQ(block->presetStore, nullptr);

    SessionSettingsStore stored;
    const PropertyBag& current = onlyCurrentOf(*block, stored);
    EXPECT_EQ(current.getString("brush.id", ""), "_swaprgb");
    EXPECT_FALSE(current.getString("stroke.id", "").empty());
    EXPECT_EQ(current.getString("name", ""), "Mine");
    EXPECT_EQ(current.getString("paramschanged", ""), "0");

    // The map the host was shown: R,G,B rows of the preview's own block.
    const FilterPixelMap& map = host.log.lastMap;
    EXPECT_EQ(map.version, 0);
    EXPECT_EQ(map.imageMode, 3);
    EXPECT_EQ(map.colBytes, 3);
    EXPECT_EQ(map.planeBytes, 1);
    EXPECT_NE(map.baseAddr, nullptr);
    EXPECT_GT(map.bounds.right, 0);
    EXPECT_GT(map.bounds.bottom, 0);
    EXPECT_EQ(map.rowBytes, map.bounds.right * 3);
    EXPECT_EQ(std::memcmp(&host.log.lastArea, &map.bounds, sizeof map.bounds), 0);
}

TEST_F(FilterEntryTest, BothDoorsPaintTheSamePixelsFromTheSameSettings)
{
    const std::string text = "[_current]\r\nbrush.id=_ColorPointBrush\r\nstroke.id=ParamAngleStroke\r\n"
                             "stroke.direction=contour16_bright\r\n";
    FilterHost host(module().entry, 80, 60, 3);
    host.record.parameters = newHostHandle(sizeof(FilterParameters));
    FilterParameters* block = *static_cast<FilterParameters**>(host.record.parameters);
    std::memcpy(block->settings, text.data(), text.size());
    block->settingsLength = uint32_t(text.size());
    srand(21);
    ASSERT_EQ(host.run(false), 0);

    TestImage source(80, 60, 5);
    for (int y = 0; y < 60; ++y)
        std::memcpy(source.row(y), &host.input[size_t(y) * host.rowBytes], 80 * 3);
    TestImage destination(80, 60, 5);
    SettingsBuffer settings(text);
    PluginRequest request = makeRequest(source, destination, &settings);
    srand(21);
    ASSERT_TRUE(plugin().processImage(&request));
    for (int y = 0; y < 60; ++y)
        ASSERT_EQ(std::memcmp(destination.row(y), &host.output[size_t(y) * host.rowBytes], 80 * 3), 0)
            << "row " << y;
    EXPECT_GT(changedPixels(host), 0);
}

// In process, with a stand-in dialog that confirms.
String confirmedName;

DialogOutcome confirmWithName(SettingsDialogRun& run)
{
    run.presetName = confirmedName;
    run.paramsChanged = true;
    return DialogOutcome::Applied;
}

TEST(FilterEntryInProcess, AConfirmedDialogLeavesOnlyCurrentWithACappedName)
{
    setSettingsDialogRunner(&confirmWithName);
    confirmedName = String(std::string(1000, 'n'));
    FilterHost host(&filterEntry, 32, 32, 3);
    host.record.parameters = newHostHandle(sizeof(FilterParameters));
    FilterParameters* block = *static_cast<FilterParameters**>(host.record.parameters);
    const std::string before = "[other]\r\nkey=1\r\n[_current]\r\nbrush.id=_swaprgb\r\n";
    std::memcpy(block->settings, before.data(), before.size());
    block->settingsLength = uint32_t(before.size());

    EXPECT_EQ(host.run(true), 0);
    setSettingsDialogRunner(nullptr);
    EXPECT_GT(changedPixels(host), 0);
    SessionSettingsStore stored;
    const PropertyBag& current = onlyCurrentOf(*block, stored);
    EXPECT_EQ(current.getString("brush.id", ""), "_swaprgb");
    EXPECT_EQ(current.getString("name", "").size(), 255u);
    EXPECT_TRUE(current.getBool("paramschanged", false));
}

TEST(FilterEntryInProcess, ASettingsTextThatDoesNotFitIsNotWrittenAtAll)
{
    SessionSettingsStore store;
    store.section("_current").setString("description", String(std::string(600, 'd')));
    std::vector<char> buffer(700, '#');
    uint32_t length = 3;
    StringBuffer text;
    writeIni(text, store);
    ASSERT_GT(text.size(), 600u);

    EXPECT_FALSE(storeSettingsText(store, buffer.data(), text.size() - 1, length));
    EXPECT_EQ(length, 3u);
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](char c) { return c == '#'; }));
    EXPECT_TRUE(storeSettingsText(store, buffer.data(), text.size(), length));
    EXPECT_EQ(length, text.size());
    EXPECT_EQ(std::string(buffer.data(), length), std::string(text.data(), text.size()));
}

} // namespace
