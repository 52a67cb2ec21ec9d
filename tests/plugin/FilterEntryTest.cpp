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
#include "image/Image.h"
#include "image/Pixel.h"
#include "plugin/DialogSeams.h"
#include "plugin/FilterEntry.h"
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
const PropertyBag& onlyCurrentOf(const HostSettingsBlock& block, SessionSettingsStore& stored)
{
    FixedBufferReader reader(block.settings, block.settingsLength);
    readIni(reader, stored);
    EXPECT_EQ(stored.sectionNames(), std::vector<String>{"_current"});
    return stored.findSection("_current");
}

bool rectIsZero(const HostRect& r)
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
    for (int planes : {1, 3, 4, 5}) {
        SCOPED_TRACE("planes " + std::to_string(planes));
        FilterHost host(module().entry, 96, 72, planes);
        srand(5);
        ASSERT_EQ(host.call(HostSelectorPrepare), 0);
        EXPECT_EQ(host.record.bufferSpace, 0x10000);
        ASSERT_EQ(host.call(HostSelectorStart), 0);
        EXPECT_EQ(host.record.inHiPlane, planes - 1) << "every plane is asked for";
        EXPECT_EQ(host.record.outHiPlane, planes - 1);
        EXPECT_EQ(host.record.inRect.right, 96);
        host.deliverBuffers();
        ASSERT_EQ(host.call(HostSelectorContinue), 0);
        EXPECT_TRUE(rectIsZero(host.record.inRect) && rectIsZero(host.record.outRect));
        EXPECT_EQ(host.call(HostSelectorFinish), 0);
        EXPECT_NE(host.data, 0);

        EXPECT_GT(changedPixels(host), 72 / 2);
        for (int y = 0; y < host.height; ++y)
            for (int i = host.width * host.planes; i < host.rowBytes; ++i)
                ASSERT_EQ(host.output[size_t(y) * host.rowBytes + i], 0x5A) << "row padding written";
        // The last plane is the picture's, copied and painted, never left
        // as the host's fill.
        int lastPlaneFill = 0;
        for (int y = 0; y < host.height; ++y)
            for (int x = 0; x < host.width; ++x)
                lastPlaneFill +=
                    host.output[size_t(y) * host.rowBytes + size_t(x) * planes + planes - 1] == 0x5A;
        EXPECT_LT(lastPlaneFill, host.width * host.height / 4);
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
    // Hosts know a master by its size: a pointer and the four-byte tag.
    EXPECT_EQ(GlobalSize(GlobalHandle(reinterpret_cast<void*>(host.data))), sizeof(void*) + 4);
    EXPECT_EQ(std::memcmp(reinterpret_cast<char*>(host.data) + sizeof(void*), "OTOF", 4), 0);
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
    for (Case c : {Case{1, 1}, Case{3, 2}, Case{4, 4}}) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + " planes " + std::to_string(c.planes));
        FilterHost host(module().entry, 32, 24, c.planes, c.mode);
        EXPECT_EQ(host.run(true), HostResultBadMode);
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
    const std::vector<uint8_t> before(recordBytes, recordBytes + sizeof(HostFilterRecord));
    for (int16_t selector : {int16_t(6), int16_t(-1), int16_t(0x7FFF)}) {
        EXPECT_EQ(host.call(selector), HostResultBadParameters);
        EXPECT_EQ(std::memcmp(before.data(), recordBytes, before.size()), 0);
    }
    EXPECT_TRUE(outputUntouched(host));

    module().entry(HostSelectorContinue, &host.record, &host.data, nullptr);
    EXPECT_TRUE(outputUntouched(host)) << "no result to report: nothing done";
    int16_t result = 0x7777;
    module().entry(HostSelectorPrepare, &host.record, nullptr, &result);
    EXPECT_EQ(result, HostResultBadParameters);
    module().entry(HostSelectorContinue, nullptr, &host.data, &result);
    EXPECT_EQ(result, HostResultBadParameters);

}

TEST_F(FilterEntryTest, AboutIsOwnedByTheHostWindowAndAForeignRecordIsNoFault)
{
    HWND hostWindow = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                      300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hostWindow, nullptr);
    FilterHost host(module().entry, 16, 16, 3);
    host.platform.hwnd = hostWindow;
    HostPlatformData platform{hostWindow};
    HostAboutRecord about{&platform};
    // Hosts hand About a filter record too, whose first field is a number;
    // and a platform record may name something that is no window.
    HostPlatformData notAWindow{reinterpret_cast<void*>(intptr_t(0x12345))};
    HostAboutRecord stale{&notAWindow};
    // Each box takes seconds to come up under Wine.
    struct Case { const char* what; void* record; bool ownedByHost; };
    for (const Case& c : {Case{"about record", &about, true}, Case{"no record", nullptr, false},
                          Case{"filter record", &host.record, false},
                          Case{"no window behind the record", &stale, false}}) {
        SCOPED_TRACE(c.what);
        HWND owner = nullptr;
        bool shown = false;
        guitest::whenDialogUp([&](HWND d) {
            shown = true;
            owner = GetWindow(d, GW_OWNER);
            PostMessageA(d, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 70));
        });
        EXPECT_EQ(host.about(c.record), 0);
        EXPECT_TRUE(shown);
        if (c.ownedByHost) {
            EXPECT_EQ(owner, hostWindow);
        }
        guitest::pendingActions().clear();
    }
    DestroyWindow(hostWindow);
}

TEST_F(FilterEntryTest, BuffersThatCannotHoldTheAreaAreRefusedAndAnEmptyAreaPaintsNothing)
{
    FilterHost host(module().entry, 40, 30, 3);
    ASSERT_EQ(host.call(HostSelectorStart), 0);
    host.deliverBuffers();
    host.record.inData = nullptr;
    EXPECT_EQ(host.call(HostSelectorContinue), HostResultBadParameters);
    ASSERT_EQ(host.call(HostSelectorStart), 0) << "Continue gave up its rectangles";
    host.deliverBuffers();
    host.record.outRowBytes = 40 * 3 - 1;
    EXPECT_EQ(host.call(HostSelectorContinue), HostResultBadParameters);
    EXPECT_TRUE(outputUntouched(host));
    // Buffers holding half the asked rows, ending at an inaccessible page.
    GuardedBytes shortIn(size_t(40) * 3 * 15, true), shortOut(size_t(40) * 3 * 15, true);
    ASSERT_TRUE(shortIn.data() && shortOut.data());
    ASSERT_EQ(host.call(HostSelectorStart), 0);
    host.deliverBuffers();
    host.record.inData = shortIn.data();
    EXPECT_EQ(host.call(HostSelectorContinue), HostResultBadParameters);
    std::memset(shortOut.data(), 0x5A, shortOut.size());
    ASSERT_EQ(host.call(HostSelectorStart), 0);
    host.deliverBuffers();
    host.record.outData = shortOut.data();
    EXPECT_EQ(host.call(HostSelectorContinue), HostResultBadParameters);
    EXPECT_TRUE(std::all_of(shortOut.data(), shortOut.data() + shortOut.size(),
                            [](uint8_t b) { return b == 0x5A; }));

    for (HostRect area : {HostRect{5, 5, 5, 20}, HostRect{10, 30, 2, 4}}) {
        host.record.filterRect = area;
        ASSERT_EQ(host.call(HostSelectorParameters), 0) << "with or without a dialog asked";
        ASSERT_EQ(host.call(HostSelectorStart), 0);
        host.deliverBuffers();
        host.record.inData = host.record.outData = host.output.data();
        EXPECT_EQ(host.call(HostSelectorContinue), 0);
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
        EXPECT_EQ(host.run(false), HostResultCancelled);
        EXPECT_GE(host.log.abortPolls, 1);
        EXPECT_EQ(changedPixels(host), 0);
    }
}

TEST_F(FilterEntryTest, ANestedCallDuringARenderIsTurnedAway)
{
    FilterHost host(module().entry, 64, 64, 3);
    host.log.nestedSelector = HostSelectorContinue;
    EXPECT_EQ(host.run(false), 0);
    EXPECT_EQ(host.log.nestedResult, HostResultFailed);
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
    EXPECT_EQ(host.run(true), HostResultCancelled);
    EXPECT_TRUE(shown);
    guitest::pendingActions().clear();
    for (const HostRect& r : {host.record.inRect, host.record.outRect})
        EXPECT_EQ(std::memcmp(&r, &host.record.filterRect, sizeof r), 0);
    EXPECT_TRUE(outputUntouched(host));
    ASSERT_NE(host.record.parameters, nullptr);
    HostSettingsBlock* block = host.settings();
    EXPECT_EQ(block->settingsLength, 0u);
    // Master and block as hosts size them: a pointer and the tag, and the
    // block's own bytes.
    EXPECT_EQ(GlobalSize(GlobalHandle(host.record.parameters)), sizeof(void*) + 4);
    EXPECT_EQ(GlobalSize(GlobalHandle(block)), sizeof(HostSettingsBlock));
    // The run ended without Finish; the request must not outlive it.
    EXPECT_EQ(host.call(HostSelectorFinish), 0);

    // A stale block: length beyond the text area, a heap pointer left in it.
    // The render reads it and leaves it as it is.
    block->settingsLength = 0xFFFFFFF0u;
    block->presetStore = reinterpret_cast<void*>(0xDEADBEEF);
    srand(4);
    ASSERT_EQ(host.run(false), 0);
    EXPECT_EQ(block->presetStore, reinterpret_cast<void*>(0xDEADBEEF));
    EXPECT_EQ(block->settingsLength, 0xFFFFFFF0u);
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
    // The block of an earlier run, kept by the host in its own heap: used as
    // it is, not replaced.
    HostParameters kept(HostParameters::MasterInHostHeap,
                        "[other]\r\nkey=1\r\n[_current]\r\nbrush.id=_swaprgb\r\nname=Mine\r\n");
    host.record.parameters = kept.handle();

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
    ASSERT_EQ(host.record.parameters, kept.handle());
    EXPECT_EQ(kept.block().presetStore, nullptr);

    SessionSettingsStore stored;
    const PropertyBag& current = onlyCurrentOf(kept.block(), stored);
    EXPECT_EQ(current.getString("brush.id", ""), "_swaprgb");
    EXPECT_FALSE(current.getString("stroke.id", "").empty());
    EXPECT_EQ(current.getString("name", ""), "Mine");
    EXPECT_EQ(current.getString("paramschanged", ""), "0");

    // Every map the host was shown kept the published rules; the last one:
    // R,G,B rows of the preview's own block.
    EXPECT_EQ(host.log.badDisplayCalls, 0) << host.log.firstBadDisplay;
    const HostPixelMap& map = host.log.lastMap;
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

// Repeat runs: hosts hand back the settings of an earlier run in memory of
// their own, however they keep it; each paints what the same settings paint
// through the shell door, and the host's memory is only read.
TEST_F(FilterEntryTest, RepeatRunsFromHostMemoryPaintTheStoredSettings)
{
    const std::string text = "[_current]\r\nbrush.id=_ColorPointBrush\r\nstroke.id=ParamAngleStroke\r\n"
                             "stroke.direction=contour16_bright\r\n";
    TestImage source(80, 60, 5);
    {
        FilterHost picture(module().entry, 80, 60, 3);
        for (int y = 0; y < 60; ++y)
            std::memcpy(source.row(y), &picture.input[size_t(y) * picture.rowBytes], 80 * 3);
    }
    TestImage destination(80, 60, 5);
    SettingsBuffer settings(text);
    PluginRequest request = makeRequest(source, destination, &settings);
    srand(21);
    ASSERT_TRUE(plugin().processImage(&request));
    FilterHost defaults(module().entry, 80, 60, 3);
    srand(21);
    ASSERT_EQ(defaults.run(false), 0);

    struct Case { const char* what; HostParameters::Kind kind; };
    for (const Case& c : {Case{"master copy in a host heap", HostParameters::MasterInHostHeap},
                          Case{"master copy from the C runtime", HostParameters::MasterInRuntimeHeap},
                          Case{"handle-suite record", HostParameters::HandleSuiteRecord},
                          Case{"read-only block", HostParameters::ReadOnlyMaster},
                          Case{"moveable global handle", HostParameters::MoveableGlobal},
                          Case{"table slot before a null one", HostParameters::TableNextNull},
                          Case{"table slot before a pointer", HostParameters::TableNextPointer}}) {
        SCOPED_TRACE(c.what);
        HostParameters kept(c.kind, text);
        const std::vector<char> before(reinterpret_cast<const char*>(&kept.block()),
                                       reinterpret_cast<const char*>(&kept.block() + 1));
        FilterHost host(module().entry, 80, 60, 3);
        host.record.parameters = kept.handle();
        srand(21);
        ASSERT_EQ(host.run(false), 0);
        EXPECT_EQ(host.record.parameters, kept.handle());
        EXPECT_EQ(std::memcmp(before.data(), &kept.block(), before.size()), 0) << "host block written";
        for (int y = 0; y < 60; ++y)
            ASSERT_EQ(std::memcmp(destination.row(y), &host.output[size_t(y) * host.rowBytes], 80 * 3), 0)
                << "row " << y;
        EXPECT_FALSE(host.output == defaults.output);
        // All along, the word after the pointer read as a size too small for
        // the settings (a 32-bit pointer reads as one too large).
        if (c.kind >= HostParameters::MoveableGlobal &&
            (sizeof(void*) == 8 || c.kind != HostParameters::TableNextPointer)) {
            EXPECT_LT(kept.wordAfterPointer(), 8196);
        }
    }
}

// Hosts may change filterRect between Start and Continue, and call Continue
// again after the plug-in emptied its rectangles: only the asked rectangles
// are read and written, here in buffers that end at an inaccessible page.
TEST_F(FilterEntryTest, ContinueWorksOnlyInsideTheAskedRectangles)
{
    const int w = 40, h = 30;
    FilterHost host(module().entry, w, h, 3);
    ASSERT_EQ(host.call(HostSelectorStart), 0);
    GuardedBytes in(size_t(w) * 3 * h, true);
    GuardedBytes out(size_t(w) * 3 * (h / 2), true);
    for (int y = 0; y < h; ++y)
        std::memcpy(in.data() + size_t(y) * w * 3, &host.input[size_t(y) * host.rowBytes],
                    size_t(w) * 3);
    std::memset(out.data(), 0x5A, out.size());
    host.record.inData = in.data();
    host.record.inRowBytes = w * 3;
    host.record.outData = out.data();
    host.record.outRowBytes = w * 3;
    // Only half the rows go out; the host grew its filter area meanwhile.
    host.record.outRect.bottom = int16_t(h / 2);
    host.record.filterRect = HostRect{0, 0, int16_t(h + 40), int16_t(w + 40)};
    ASSERT_EQ(host.call(HostSelectorContinue), 0);
    EXPECT_TRUE(rectIsZero(host.record.inRect) && rectIsZero(host.record.outRect));
    EXPECT_NE(std::memcmp(out.data(), in.data(), out.size()), 0) << "painted";

    const std::vector<uint8_t> painted(out.data(), out.data() + out.size());
    ASSERT_EQ(host.call(HostSelectorContinue), 0);
    EXPECT_EQ(std::memcmp(out.data(), painted.data(), painted.size()), 0) << "nothing more asked";
    EXPECT_EQ(host.call(HostSelectorFinish), 0);
}

// Bottom-up buffers through both doors: a negative stride walks the rows
// upwards in memory, and the picture painted is the one top-down rows get.
TEST_F(FilterEntryTest, BottomUpBuffersPaintWhatTopDownOnesPaint)
{
    const int w = 50, h = 40;
    FilterHost topDown(module().entry, w, h, 3);
    srand(8);
    ASSERT_EQ(topDown.run(false), 0);

    // The same picture stored with its last row first.
    FilterHost bottomUp(module().entry, w, h, 3);
    std::vector<uint8_t> flipped(bottomUp.input.size(), 0xA5);
    for (int y = 0; y < h; ++y)
        std::memcpy(&flipped[size_t(h - 1 - y) * bottomUp.rowBytes],
                    &bottomUp.input[size_t(y) * bottomUp.rowBytes], size_t(w) * 3);
    std::vector<uint8_t> flippedOut(bottomUp.output.size(), 0x5A);
    srand(8);
    ASSERT_EQ(bottomUp.call(HostSelectorPrepare), 0);
    ASSERT_EQ(bottomUp.call(HostSelectorStart), 0);
    bottomUp.record.inData = &flipped[size_t(h - 1) * bottomUp.rowBytes];
    bottomUp.record.inRowBytes = -bottomUp.rowBytes;
    bottomUp.record.outData = &flippedOut[size_t(h - 1) * bottomUp.rowBytes];
    bottomUp.record.outRowBytes = -bottomUp.rowBytes;
    ASSERT_EQ(bottomUp.call(HostSelectorContinue), 0);
    for (int y = 0; y < h; ++y)
        ASSERT_EQ(std::memcmp(&flippedOut[size_t(h - 1 - y) * bottomUp.rowBytes],
                              &topDown.output[size_t(y) * topDown.rowBytes], size_t(w) * 3),
                  0)
            << "filter door, row " << y;
    EXPECT_GT(changedPixels(topDown), 0);

    // The shell door: a bottom-up destination over a top-down source, then
    // both bottom-up.
    for (int format : {5, 6}) {
        SCOPED_TRACE("format " + std::to_string(format));
        TestImage source(w, h, format, 2);
        drawScene(source);
        TestImage flippedSource(w, h, format, 2);
        for (int y = 0; y < h; ++y)
            std::memcpy(flippedSource.row(h - 1 - y), source.row(y), size_t(source.rowBytes()));
        TestImage upright(w, h, format, 2, 0x5A);
        PluginRequest request = makeRequest(source, upright);
        srand(3);
        ASSERT_TRUE(plugin().processImage(&request));
        for (bool sourceBottomUp : {false, true}) {
            SCOPED_TRACE(sourceBottomUp ? "both bottom-up" : "destination bottom-up");
            TestImage reversed(w, h, format, 2, 0x5A);
            request = makeRequest(source, reversed);
            if (sourceBottomUp) {
                request.sourcePixels = flippedSource.row(h - 1);
                request.sourceStride = -flippedSource.stride;
            }
            request.destinationPixels = reversed.row(h - 1);
            request.destinationStride = -reversed.stride;
            srand(3);
            ASSERT_TRUE(plugin().processImage(&request));
            for (int y = 0; y < h; ++y)
                ASSERT_EQ(std::memcmp(reversed.row(h - 1 - y), upright.row(y), size_t(upright.rowBytes())),
                          0)
                    << "shell door, row " << y;
            EXPECT_TRUE(reversed.paddingIs(0x5A));
        }
    }
}

// In process, with a stand-in dialog that confirms.
String confirmedName;
int dialogSourceFormat = 0;
std::vector<Pixel> dialogPixels;

DialogOutcome confirmWithName(SettingsDialogRun& run)
{
    dialogSourceFormat = run.source.format();
    dialogPixels.clear();
    for (int y = 0; y < run.source.height(); ++y)
        for (int x = 0; x < run.source.width(); ++x)
            dialogPixels.push_back(run.source.getPixel(x, y));
    run.presetName = confirmedName;
    run.paramsChanged = true;
    return DialogOutcome::Applied;
}

// A confirmed setup goes into the host's own block when it can be written,
// with the dialog's whole name; a read-only block is left alone and the
// setup goes into a new block of the plug-in's.
TEST(FilterEntryInProcess, AConfirmedDialogLeavesOnlyCurrentInAWritableBlock)
{
    setSettingsDialogRunner(&confirmWithName);
    confirmedName = String(std::string(1000, 'n'));
    const std::string before = "[other]\r\nkey=1\r\n[_current]\r\nbrush.id=_swaprgb\r\n";
    for (HostParameters::Kind kind :
         {HostParameters::MasterInRuntimeHeap, HostParameters::ReadOnlyMaster}) {
        const bool readOnly = kind == HostParameters::ReadOnlyMaster;
        SCOPED_TRACE(readOnly ? "read-only block" : "writable block");
        HostParameters kept(kind, before);
        FilterHost host(&filterEntry, 32, 32, 3);
        host.record.parameters = kept.handle();

        EXPECT_EQ(host.run(true), 0);
        EXPECT_GT(changedPixels(host), 0);
        EXPECT_EQ(host.record.parameters == kept.handle(), !readOnly);
        if (readOnly) {
            EXPECT_EQ(kept.text(), before);
        }
        SessionSettingsStore stored;
        const PropertyBag& current = onlyCurrentOf(*host.settings(), stored);
        EXPECT_EQ(current.getString("brush.id", ""), "_swaprgb");
        EXPECT_EQ(current.getString("name", "").size(), 1000u);
        EXPECT_TRUE(current.getBool("paramschanged", false));
    }
    // One plane and five: the dialog previews the picture as R,G,B,A, one
    // plane as grey, five without the extra one.
    for (int planes : {1, 5}) {
        SCOPED_TRACE("planes " + std::to_string(planes));
        FilterHost host(&filterEntry, 32, 32, planes);
        dialogSourceFormat = 0;
        EXPECT_EQ(host.run(true), 0);
        EXPECT_EQ(dialogSourceFormat, 7);
        ASSERT_EQ(dialogPixels.size(), 32u * 32u);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const uint8_t* in = &host.input[size_t(y) * host.rowBytes + size_t(x) * planes];
                const Pixel& shown = dialogPixels[size_t(y) * 32 + x];
                const uint8_t alpha = planes == 5 ? in[4] : 255;
                ASSERT_TRUE(shown.r == in[0] && shown.g == in[planes == 1 ? 0 : 1] &&
                            shown.b == in[planes == 1 ? 0 : 2] && shown.a == alpha)
                    << "pixel " << x << "," << y;
            }
        EXPECT_GT(changedPixels(host), 0);
    }
    setSettingsDialogRunner(nullptr);
}

String nameShown;

DialogOutcome cancelAfterLooking(SettingsDialogRun& run)
{
    nameShown = run.presetName;
    return DialogOutcome::Cancelled;
}

// A cancelled dialog over the block a host handed back: the dialog showed
// the stored setup, and the host keeps its handle and its bytes.
TEST(FilterEntryInProcess, ACancelledDialogKeepsTheHostsBlock)
{
    setSettingsDialogRunner(&cancelAfterLooking);
    const std::string before = "[_current]\r\nbrush.id=_swaprgb\r\nname=Mine\r\n";
    for (HostParameters::Kind kind :
         {HostParameters::MasterInHostHeap, HostParameters::HandleSuiteRecord, HostParameters::MoveableGlobal,
          HostParameters::TableNextNull, HostParameters::TableNextPointer}) {
        SCOPED_TRACE("kind " + std::to_string(int(kind)));
        HostParameters kept(kind, before);
        FilterHost host(&filterEntry, 32, 32, 3);
        host.record.parameters = kept.handle();
        nameShown = String();
        EXPECT_EQ(host.run(true), HostResultCancelled);
        EXPECT_EQ(nameShown, "Mine");
        EXPECT_EQ(host.record.parameters, kept.handle());
        EXPECT_EQ(kept.text(), before);
        EXPECT_TRUE(outputUntouched(host));
    }
    setSettingsDialogRunner(nullptr);
}

DialogOutcome confirmAsShown(SettingsDialogRun&)
{
    return DialogOutcome::Applied;
}

// Apply, twice, over a stored setup that carries a long key no component
// reads, in every kind of host handle: the host's own block gets the
// confirmed setup with the stored name, and nothing else from before.
TEST(FilterEntryInProcess, AStoredSetupWithUnknownKeysAppliesIntoTheHostsHandle)
{
    setSettingsDialogRunner(&confirmAsShown);
    const std::string stored = "[_current]\r\nbrush.id=_swaprgb\r\nname=ZZProbe\r\nnote=" +
                               std::string(7600, 'q') + "\r\n";
    for (HostParameters::Kind kind : {HostParameters::MasterInHostHeap, HostParameters::MoveableGlobal,
                                      HostParameters::TableNextNull, HostParameters::TableNextPointer}) {
        SCOPED_TRACE("kind " + std::to_string(int(kind)));
        HostParameters kept(kind, stored);
        for (int run = 0; run < 2; ++run) {
            FilterHost host(&filterEntry, 32, 32, 3);
            host.record.parameters = kept.handle();
            ASSERT_EQ(host.run(true), 0) << "apply " << run;
            EXPECT_EQ(host.record.parameters, kept.handle());
            EXPECT_GT(changedPixels(host), 0);
            EXPECT_LT(kept.block().settingsLength, 2048u);
            SessionSettingsStore confirmed;
            const PropertyBag& current = onlyCurrentOf(kept.block(), confirmed);
            EXPECT_EQ(current.getString("name", ""), "ZZProbe");
            EXPECT_EQ(current.getString("brush.id", ""), "_swaprgb");
            EXPECT_EQ(current.getString("paramschanged", ""), "0");
            EXPECT_FALSE(current.contains("note"));
        }
    }
    setSettingsDialogRunner(nullptr);
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
