// Non-interactive runs through processImage: what is painted, what is left
// alone, how the callbacks are driven and how the settings text is used.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "PluginTestSupport.h"
#include "FilterHost.h"

using namespace plugintest;

namespace {

class ProcessImageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(plugin().loaded()) << "cannot load " << plugin().path;
    }

    // One seeded run of the scene; the result goes to *result.
    TestImage render(const std::string& settingsText, int format = 6, unsigned seed = 1,
                     bool* result = nullptr, int size = 48)
    {
        TestImage source(size, size, format);
        drawScene(source);
        TestImage destination(size, size, format);
        SettingsBuffer settings(settingsText);
        PluginRequest request = makeRequest(source, destination, &settings);
        srand(seed);
        const bool ok = api.processImage(&request);
        if (result)
            *result = ok;
        else
            EXPECT_TRUE(ok);
        return destination;
    }

    const PluginApi& api = plugin();
};

TEST_F(ProcessImageTest, EmptySettingsPaintEveryFormatAndTouchOnlyTheDestinationPixels)
{
    for (int format = 4; format <= 7; ++format) {
        SCOPED_TRACE("format " + std::to_string(format));
        TestImage source(64, 48, format, 5, 0xC3);
        drawScene(source);
        const std::vector<uint8_t> sourceBefore = source.bytes;
        TestImage destination(64, 48, format, 7, 0x3C);
        SettingsBuffer settings("", 64);
        const std::vector<char> settingsBefore = settings.bytes;
        PluginRequest request = makeRequest(source, destination, &settings);

        srand(7);
        EXPECT_TRUE(api.processImage(&request));
        EXPECT_GT(destination.countDifferentPixels(source), 64 * 48 / 10);
        EXPECT_TRUE(destination.paddingIs(0x3C)) << "row padding or bytes behind the image written";
        EXPECT_TRUE(source.bytes == sourceBefore);
        EXPECT_TRUE(settings.bytes == settingsBefore);
        EXPECT_EQ(request.settingsLength, 0);
    }
}

TEST_F(ProcessImageTest, NoSettingsBufferAtAllPaintsLikeAnEmptyText)
{
    TestImage source(40, 40, 5);
    drawScene(source);
    TestImage withoutBuffer(40, 40, 5);
    PluginRequest request = makeRequest(source, withoutBuffer);
    srand(3);
    ASSERT_TRUE(api.processImage(&request));
    EXPECT_TRUE(withoutBuffer.samePixels(render("", 5, 3, nullptr, 40)));
}

TEST_F(ProcessImageTest, TheDestinationStartsAsACopyOfTheSource)
{
    // Cancelled before the first batch: only the copy has happened.
    TestImage source(32, 20, 7, 4);
    drawScene(source);
    TestImage destination(32, 20, 7, 0, 0x77);
    CallbackLog log;
    log.abortAtPoll = 1;
    PluginRequest request = makeRequest(source, destination, nullptr, &log);
    EXPECT_FALSE(api.processImage(&request));
    EXPECT_TRUE(destination.samePixels(source));
    EXPECT_TRUE(log.fractions.empty());
    EXPECT_EQ(log.notifications, 0);
}

TEST_F(ProcessImageTest, SameSeedAndPresetGiveIdenticalBytesAndTheSeedReachesThePlugin)
{
    const std::string preset = iniSection("_current", {"brush.id=_swapblend"});
    const TestImage first = render(preset, 7, 11);
    const TestImage second = render(preset, 7, 11);
    EXPECT_TRUE(first.bytes == second.bytes);
    // The plug-in draws from the same C runtime generator the host seeds.
    const TestImage other = render(preset, 7, 12);
    EXPECT_FALSE(first.bytes == other.bytes);
}

TEST_F(ProcessImageTest, ChannelOrderDoesNotChangeThePicture)
{
    // The same logical pixels in B,G,R and R,G,B order paint the same
    // logical result, with and without alpha.
    const std::string presets[] = {
        "",
        iniSection("_current", {"brush.id=_swaphsv", "stroke.id=Vector2Stroke"}),
        iniSection("_current", {"brush.id=_ColorPointBrush", "application.id=single_grid"}),
        iniSection("_current", {"brush.id=_ImageCopyBrush", "stroke.id=ParamAngle2dStroke"}),
    };
    for (const std::string& preset : presets) {
        SCOPED_TRACE(preset);
        EXPECT_TRUE(render(preset, 4, 5).samePixels(render(preset, 5, 5)));
        EXPECT_TRUE(render(preset, 6, 5).samePixels(render(preset, 7, 5)));
    }
}

TEST_F(ProcessImageTest, TheCurrentSectionChoosesTheSetupAndOtherSectionsAreKept)
{
    const std::string current = iniSection(
        "_current", {"brush.id=_swaprgb", "stroke.id=Vector2Stroke", "application.id=single_grid",
                     "application.passes=2", "name=Mine", "paramschanged=1"});
    const std::string other =
        iniSection("other", {"brush.id=_ColorPointBrush", "stroke.id=ParamAngle2dStroke"});
    const std::string text = other + "\r\n" + current;

    TestImage source(48, 48, 6);
    drawScene(source);
    TestImage destination(48, 48, 6);
    SettingsBuffer settings(text, 100);
    const std::vector<char> settingsBefore = settings.bytes;
    PluginRequest request = makeRequest(source, destination, &settings);
    srand(21);
    ASSERT_TRUE(api.processImage(&request));

    // The run never rewrites the text: "other" and everything else stay.
    EXPECT_TRUE(settings.bytes == settingsBefore);
    EXPECT_EQ(request.settingsLength, int(text.size()));
    EXPECT_EQ(request.settingsCapacity, int(settings.bytes.size()));

    // Painted from "_current" alone, not from "other" nor the defaults.
    EXPECT_TRUE(destination.samePixels(render(current, 6, 21)));
    EXPECT_FALSE(destination.samePixels(render(
        iniSection("_current", {"brush.id=_ColorPointBrush", "stroke.id=ParamAngle2dStroke"}), 6, 21)));
    EXPECT_FALSE(destination.samePixels(render("", 6, 21)));
}

TEST_F(ProcessImageTest, TextWithoutACurrentSectionPaintsTheDefaults)
{
    const TestImage defaults = render("", 4, 9);
    EXPECT_TRUE(render(iniSection("other", {"brush.id=_swaprgb"}), 4, 9).samePixels(defaults));
    // Keys before any section line belong to no section either.
    EXPECT_TRUE(render("brush.id=_swaprgb\r\n", 4, 9).samePixels(defaults));
    // Bare LF line ends read like CRLF.
    const std::string crlf = iniSection("_current", {"brush.id=_swaprgb", "stroke.id=Vector2Stroke"});
    EXPECT_TRUE(render("[_current]\nbrush.id=_swaprgb\nstroke.id=Vector2Stroke\n", 4, 9)
                    .samePixels(render(crlf, 4, 9)));
}

TEST_F(ProcessImageTest, SettingsLengthLimitsWhatIsRead)
{
    // Only settingsLength bytes are text; what follows in the buffer is not.
    const std::string current = iniSection("_current", {"brush.id=_swaprgb"});
    const std::string tail = "stroke.id=Vector2Stroke\r\n";
    TestImage source(40, 40, 6);
    drawScene(source);
    TestImage destination(40, 40, 6);
    SettingsBuffer settings(current + tail);
    settings.length = int(current.size());
    PluginRequest request = makeRequest(source, destination, &settings);
    srand(4);
    ASSERT_TRUE(api.processImage(&request));
    EXPECT_TRUE(destination.samePixels(render(current, 6, 4, nullptr, 40)));

    // A length beyond the capacity reads no further than the capacity.
    TestImage clipped(40, 40, 6);
    request = makeRequest(source, clipped, &settings);
    request.settingsCapacity = int(current.size());
    request.settingsLength = int(settings.bytes.size()) + 1000;
    srand(4);
    ASSERT_TRUE(api.processImage(&request));
    EXPECT_TRUE(clipped.samePixels(destination));
}

TEST_F(ProcessImageTest, JunkSettingsTextStillPaints)
{
    std::string junk = "[_current\r\n=novalue\r\nnoequals\r\nbrush.id=no_such_brush\r\n";
    junk += "application.amount=1e999\r\nstroke.length.start=abc\r\n[";
    for (int i = 0; i < 256; ++i)
        junk += char(i);
    junk += "\r\n[_current]\r\nstroke.id=_SwapPoint\r\n\r\n]]]\r\n";
    TestImage source(32, 32, 4);
    drawScene(source);
    TestImage destination(32, 32, 4);
    SettingsBuffer settings(junk);
    const std::vector<char> settingsBefore = settings.bytes;
    PluginRequest request = makeRequest(source, destination, &settings);
    EXPECT_TRUE(api.processImage(&request));
    EXPECT_GT(destination.countDifferentPixels(source), 0);
    EXPECT_TRUE(settings.bytes == settingsBefore);
}

// The stroke keys of the first stroke algorithm as constructed: what an
// unknown stroke id leaves in place.
std::string constructedFirstStroke()
{
    std::string lines;
    for (const auto& entry : defaultPreset(0, 0, 0, true))
        if (entry.first.compare(0, 7, "stroke.") == 0)
            lines += entry.first + "=" + entry.second + "\r\n";
    return lines;
}

TEST_F(ProcessImageTest, AComponentIdOfAnotherKindIsUnknown)
{
    // A brush id under "stroke.id" leaves the stroke as it was and does not
    // read the stroke keys; the brush and application still load.
    const std::string others = "brush.id=_swaprgb\r\napplication.id=single_grid\r\n";
    const TestImage expected = render("[_current]\r\n" + others + constructedFirstStroke(), 6, 8);
    const TestImage got = render(iniSection("_current", {"brush.id=_swaprgb", "stroke.id=_SwapPoint",
                                                         "stroke.length.start=1", "stroke.length.end=2",
                                                         "application.id=single_grid"}),
                                 6, 8);
    EXPECT_TRUE(got.samePixels(expected));
    // The brush was loaded: without it the picture differs.
    EXPECT_FALSE(got.samePixels(render("[_current]\r\napplication.id=single_grid\r\n" +
                                       constructedFirstStroke(), 6, 8)));
}

// Pixels and settings text placed against inaccessible pages: a byte read
// or written outside the caller's buffers ends the test program.
TEST_F(ProcessImageTest, NothingIsReadOrWrittenOutsideTheCallersBuffers)
{
    const int w = 37, h = 29;
    for (bool atEnd : {true, false})
        for (int format = 4; format <= 7; ++format)
            for (int brush = 0; brush < 6; ++brush) {
                const int stroke = (brush + format) % 3, application = brush % 2;
                SCOPED_TRACE("brush " + std::to_string(brush) + " stroke " + std::to_string(stroke) +
                             " application " + std::to_string(application) + " format " +
                             std::to_string(format) + (atEnd ? " at the end" : " at the start"));
                TestImage scene(w, h, format, 3);
                drawScene(scene);
                // The last row ends where the buffer ends: no padding after it.
                const size_t size = size_t(h - 1) * scene.stride + scene.rowBytes();
                GuardedBytes source(size, atEnd), destination(size, atEnd);
                ASSERT_TRUE(source.data() && destination.data());
                std::memcpy(source.data(), scene.bytes.data(), size);

                const std::string text = presetSection("_current", defaultPreset(brush, stroke, application));
                GuardedBytes settings(text.size(), atEnd);
                ASSERT_TRUE(settings.data());
                std::memcpy(settings.data(), text.data(), text.size());

                PluginRequest request = makeRequest(scene, scene);
                request.sourcePixels = source.data();
                request.destinationPixels = destination.data();
                request.settingsBuffer = reinterpret_cast<char*>(settings.data());
                request.settingsCapacity = int32_t(text.size());
                request.settingsLength = int32_t(text.size());
                srand(unsigned(brush));
                EXPECT_TRUE(api.processImage(&request));
                EXPECT_NE(std::memcmp(source.data(), destination.data(), size), 0);
                EXPECT_EQ(std::memcmp(source.data(), scene.bytes.data(), size), 0);
            }
}

// Every key of every combination at the ends of what a text can say: the
// values are clamped and the run ends.
TEST_F(ProcessImageTest, ExtremeParameterTextsAreClampedAndTheRunEnds)
{
    const char* values[] = {"2147483647", "-2147483648", "1e308", "-1e308", "nan", "junk", ""};
    for (int brush = 0; brush < 6; ++brush)
        for (int stroke = 0; stroke < 3; ++stroke)
            for (const char* value : values) {
                Preset preset = defaultPreset(brush, stroke, (brush + stroke) % 2);
                for (auto& entry : preset)
                    if (entry.first.size() < 3 || entry.first.compare(entry.first.size() - 3, 3, ".id") != 0)
                        entry.second = value;
                SCOPED_TRACE(presetSection("_current", preset));
                bool ok = false;
                render(presetSection("_current", preset), 4 + (brush + stroke) % 4, 1, &ok, 24);
                EXPECT_TRUE(ok);
            }
}

// Callbacks.

TEST_F(ProcessImageTest, ProgressRisesToExactlyOneThenFinishedIsNotifiedOnce)
{
    for (const char* application : {"random", "single_grid"}) {
        SCOPED_TRACE(application);
        TestImage source(64, 64, 6);
        drawScene(source);
        TestImage destination(64, 64, 6);
        SettingsBuffer settings(iniSection("_current", {std::string("application.id=") + application}));
        CallbackLog log;
        PluginRequest request = makeRequest(source, destination, &settings, &log);
        srand(2);
        ASSERT_TRUE(api.processImage(&request));

        ASSERT_FALSE(log.fractions.empty());
        for (size_t i = 0; i < log.fractions.size(); ++i) {
            EXPECT_GE(log.fractions[i], 0.0f);
            EXPECT_LE(log.fractions[i], 1.0f);
            if (i > 0) {
                EXPECT_GE(log.fractions[i], log.fractions[i - 1]);
            }
        }
        EXPECT_GE(log.abortPolls, 1);
        EXPECT_EQ(log.notifications, 1);
        EXPECT_EQ(log.progressCallsBeforeNotify, int(log.fractions.size()))
            << "finished is notified after the last progress report";
        if (std::string(application) == "random") {
            EXPECT_EQ(log.fractions.back(), 1.0f);
            EXPECT_EQ(log.abortPolls, int(log.fractions.size())) << "one poll before every batch";
        }
    }
}

TEST_F(ProcessImageTest, ProgressAnsweringFalseStopsThePaint)
{
    // The default pattern paints in batches; stopping at the first report
    // leaves one batch painted.
    TestImage source(64, 64, 5);
    drawScene(source);
    TestImage stopped(64, 64, 5);
    CallbackLog log;
    log.stopAtProgress = 1;
    PluginRequest request = makeRequest(source, stopped, nullptr, &log);
    srand(5);
    EXPECT_FALSE(api.processImage(&request));
    EXPECT_EQ(log.fractions.size(), 1u);
    EXPECT_LT(log.fractions[0], 1.0f);
    EXPECT_EQ(log.abortPolls, 1);
    EXPECT_EQ(log.notifications, 0);
    EXPECT_GT(stopped.countDifferentPixels(source), 0);

    TestImage full(64, 64, 5);
    request = makeRequest(source, full);
    srand(5);
    ASSERT_TRUE(api.processImage(&request));
    EXPECT_GT(full.countDifferentPixels(source), stopped.countDifferentPixels(source));

    // Stopped later on the grid, between rows.
    for (int at : {1, 3}) {
        TestImage grid(64, 64, 5);
        SettingsBuffer settings(iniSection("_current", {"application.id=single_grid"}));
        CallbackLog gridLog;
        gridLog.stopAtProgress = at;
        request = makeRequest(source, grid, &settings, &gridLog);
        EXPECT_FALSE(api.processImage(&request));
        EXPECT_EQ(int(gridLog.fractions.size()), at);
        EXPECT_EQ(gridLog.notifications, 0);
    }
}

TEST_F(ProcessImageTest, AbortStopsThePaintAtTheNextPoll)
{
    for (const char* application : {"random", "single_grid"}) {
        SCOPED_TRACE(application);
        TestImage source(64, 64, 4);
        drawScene(source);
        TestImage destination(64, 64, 4);
        SettingsBuffer settings(iniSection("_current", {std::string("application.id=") + application}));
        CallbackLog log;
        log.abortAtPoll = 3;
        PluginRequest request = makeRequest(source, destination, &settings, &log);
        EXPECT_FALSE(api.processImage(&request));
        EXPECT_EQ(log.abortPolls, 3);
        EXPECT_EQ(log.notifications, 0);
        EXPECT_GT(destination.countDifferentPixels(source), 0);
    }
}

TEST_F(ProcessImageTest, CallbacksMayBeMissingIndividually)
{
    // Only notify given: the run completes and notifies once.
    TestImage source(32, 32, 7);
    drawScene(source);
    TestImage destination(32, 32, 7);
    CallbackLog log;
    PluginRequest request = makeRequest(source, destination, nullptr, &log);
    request.progress = nullptr;
    request.abortRequested = nullptr;
    EXPECT_TRUE(api.processImage(&request));
    EXPECT_EQ(log.notifications, 1);

    // Only abort given, answering true at once.
    CallbackLog abortLog;
    abortLog.abortAtPoll = 1;
    request = makeRequest(source, destination, nullptr, &abortLog);
    request.progress = nullptr;
    request.notify = nullptr;
    EXPECT_FALSE(api.processImage(&request));
    EXPECT_EQ(abortLog.abortPolls, 1);
}

// Callbacks written in another language may leave junk above the low byte
// of their result; only that byte counts.
int __cdecl progressHighBitsOnly(void* context, float)
{
    ++*static_cast<int*>(context);
    return 0x100;
}

int __cdecl abortHighBitsOnly(void*)
{
    return int(0xFFFFFF00u);
}

// A one-byte "true" need not be 1.
int __cdecl progressAnswersTwo(void* context, float)
{
    ++*static_cast<int*>(context);
    return 2;
}

int __cdecl abortAnswersFF(void*)
{
    return 0xFF;
}

TEST_F(ProcessImageTest, OnlyTheLowByteOfACallbackResultCounts)
{
    TestImage source(32, 32, 4);
    drawScene(source);
    TestImage destination(32, 32, 4);
    int progressCalls = 0;
    PluginRequest request = makeRequest(source, destination);
    request.callbackContext = &progressCalls;
    request.abortRequested =
        reinterpret_cast<PluginAbortProc>(reinterpret_cast<void*>(&abortHighBitsOnly));
    EXPECT_TRUE(api.processImage(&request)) << "0xFFFFFF00 is not an abort";

    request.progress =
        reinterpret_cast<PluginProgressProc>(reinterpret_cast<void*>(&progressHighBitsOnly));
    EXPECT_FALSE(api.processImage(&request)) << "0x100 is a false from progress";
    EXPECT_EQ(progressCalls, 1);

    // Any non-zero byte is true, and the export answers a plain 1.
    typedef uint8_t(__cdecl * ByteResultProc)(PluginRequest*);
    const ByteResultProc processImageByte =
        reinterpret_cast<ByteResultProc>(reinterpret_cast<void*>(api.processImage));
    progressCalls = 0;
    request.progress =
        reinterpret_cast<PluginProgressProc>(reinterpret_cast<void*>(&progressAnswersTwo));
    request.abortRequested = nullptr;
    EXPECT_EQ(processImageByte(&request), 1) << "2 from progress means go on";
    EXPECT_GT(progressCalls, 1);
    request.abortRequested =
        reinterpret_cast<PluginAbortProc>(reinterpret_cast<void*>(&abortAnswersFF));
    EXPECT_EQ(processImageByte(&request), 0) << "0xFF from the abort test cancels";
}

// A call into either door while a run is on the stack (here from the
// progress callback) is turned away; the outer run goes on.
struct NestedCalls
{
    PluginRequest* inner = nullptr;
    int calls = 0;
    bool innerResult = true;
    int16_t filterResult = 0x7777;
};

bool __cdecl callAgain(void* context, float)
{
    NestedCalls* nested = static_cast<NestedCalls*>(context);
    if (nested->calls++ == 0) {
        nested->innerResult = plugin().processImage(nested->inner);
        const HostEntryProc entry = exported<HostEntryProc>(plugin().module(), "ENTRYPOINT1");
        intptr_t data = 0;
        std::vector<uint8_t> record(1024, 0);
        if (entry)
            entry(HostSelectorPrepare, record.data(), &data, &nested->filterResult);
    }
    return true;
}

TEST_F(ProcessImageTest, ACallIntoEitherDoorDuringARunIsTurnedAway)
{
    TestImage source(48, 48, 5);
    drawScene(source);
    TestImage destination(48, 48, 5);
    TestImage innerDestination(48, 48, 5, 0, 0x5A);
    const std::vector<uint8_t> innerBefore = innerDestination.bytes;
    PluginRequest inner = makeRequest(source, innerDestination);
    NestedCalls nested;
    nested.inner = &inner;
    PluginRequest request = makeRequest(source, destination);
    request.callbackContext = &nested;
    request.progress = &callAgain;
    EXPECT_TRUE(api.processImage(&request));
    EXPECT_GT(nested.calls, 1);
    EXPECT_FALSE(nested.innerResult);
    EXPECT_TRUE(innerDestination.bytes == innerBefore);
    EXPECT_EQ(nested.filterResult, HostResultFailed);
    EXPECT_GT(destination.countDifferentPixels(source), 0);

    // Afterwards the doors are open again.
    EXPECT_TRUE(api.processImage(&inner));
}

// The extra stroke algorithm exists only when Control is down as the run
// starts; without it its id is unknown and the stroke stays the first one.
TEST_F(ProcessImageTest, TheExtraStrokeNeedsControlHeld)
{
    const std::string preset = iniSection("_current", {"stroke.id=AnglePairStroke"});
    const TestImage plain = render("[_current]\r\n" + constructedFirstStroke(), 6, 14);
    EXPECT_TRUE(render(preset, 6, 14).samePixels(plain));

    BYTE keys[256];
    ASSERT_TRUE(GetKeyboardState(keys));
    BYTE held[256];
    std::memcpy(held, keys, sizeof held);
    held[VK_CONTROL] = 0x80;
    ASSERT_TRUE(SetKeyboardState(held));
    const bool controlSeen = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const TestImage extra = render(preset, 6, 14);
    SetKeyboardState(keys);
    ASSERT_TRUE(controlSeen) << "this system does not let a thread set its key state";
    EXPECT_FALSE(extra.samePixels(plain));
}

} // namespace
