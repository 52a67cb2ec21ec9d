// The three exports as a host sees them: loaded by file name, records by
// byte offset, and requests that must be refused without touching anything.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "PluginTestSupport.h"
#include "foundation/FixedBufferReader.h"
#include "foundation/IniText.h"
#include "foundation/SessionSettingsStore.h"
#include "framework/GuiTestSupport.h"

using namespace plugintest;

namespace {

const char kPluginProfile[] = "Software\\Quillorantix\\daubcrafter\\general";

class ExportsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(plugin().loaded()) << "cannot load " << plugin().path;
    }
    const PluginApi& api = plugin();
};

std::string fieldText(const unsigned char* field, size_t size)
{
    return std::string(reinterpret_cast<const char*>(field), strnlen(reinterpret_cast<const char*>(field), size));
}

// Every byte behind the terminator of a field is still the caller's.
bool untouchedAfter(const unsigned char* field, size_t used, size_t size, unsigned char marker)
{
    for (size_t i = used; i < size; ++i)
        if (field[i] != marker)
            return false;
    return true;
}

TEST_F(ExportsTest, GetInfoFillsTheFieldsAtTheirOffsets)
{
    const unsigned char marker = 0xAB;
    unsigned char raw[sizeof(PluginInfo) + 16];
    std::memset(raw, marker, sizeof raw);
    ASSERT_TRUE(api.getInfo(reinterpret_cast<PluginInfo*>(raw)));

    // The id fills its 32 bytes; its terminator went under the menu name.
    EXPECT_EQ(std::string(reinterpret_cast<char*>(raw), 32), "quillorantix_daubcrafter_1.1.2.0");
    EXPECT_EQ(fieldText(raw + 32, 32), "Daubcrafter...");
    EXPECT_TRUE(untouchedAfter(raw + 32, 15, 32, marker));
    EXPECT_EQ(fieldText(raw + 64, 32), "Quillorantix");
    EXPECT_TRUE(untouchedAfter(raw + 64, 13, 32, marker));
    EXPECT_EQ(fieldText(raw + 96, 256), "paint effects");
    EXPECT_TRUE(untouchedAfter(raw + 96, 14, 256, marker));

    const std::string about = fieldText(raw + 352, 256);
    ASSERT_LT(about.size(), 256u);
    EXPECT_EQ(about.compare(0, 12, "Daubcrafter\n"), 0) << about;
    const std::string credits = about.substr(12);
    EXPECT_FALSE(credits.empty());
    EXPECT_EQ(credits.find('\n'), std::string::npos) << "one line of credits";
    EXPECT_TRUE(untouchedAfter(raw + 352, about.size() + 1, 256, marker));
    // Nothing beyond the record.
    EXPECT_TRUE(untouchedAfter(raw, sizeof(PluginInfo), sizeof raw, marker));

    // A host terminates each field in its last byte; the id it reads is then
    // 31 characters long.
    raw[31] = 0;
    EXPECT_EQ(fieldText(raw, 32), "quillorantix_daubcrafter_1.1.2.");
}

TEST_F(ExportsTest, TheShellsPluginsFolderHoldsTheSameModule)
{
    const PluginApi copy(programFolder() + "plugins\\Quillorantix_Daubcrafter.qlplg");
    ASSERT_TRUE(copy.loaded()) << copy.path;
    PluginInfo info;
    std::memset(&info, 0, sizeof info);
    EXPECT_TRUE(copy.getInfo(&info));
    EXPECT_EQ(std::string(info.vendor), "Quillorantix");
}

TEST_F(ExportsTest, GetInfoRefusesANullRecord)
{
    EXPECT_FALSE(api.getInfo(nullptr));
}

TEST_F(ExportsTest, CanProcessAcceptsExactlyTheThreeAndFourChannelFormats)
{
    const int sizes[][2] = {{64, 64}, {0, 0}, {1, 0}, {0, 1}, {-5, 7}, {100000, 100000}};
    for (int format = -1; format <= 12; ++format)
        for (const auto& size : sizes)
            EXPECT_EQ(api.canProcess(format, size[0], size[1]), format >= 4 && format <= 7)
                << "format " << format << " size " << size[0] << "x" << size[1];
    EXPECT_FALSE(api.canProcess(0x7fffffff, 1, 1));
    EXPECT_FALSE(api.canProcess(int32_t(0x80000004), 1, 1));
}

TEST_F(ExportsTest, ProcessImageRefusesANullRequest)
{
    EXPECT_FALSE(api.processImage(nullptr));
}

// A request spoiled by one change must come back false with the destination,
// the settings and the callbacks untouched.
int rowBytes(const PluginRequest& r)
{
    return r.width * (r.pixelFormat < 6 ? 3 : 4);
}

struct Spoiler
{
    const char* what;
    std::function<void(PluginRequest&)> spoil;
};

TEST_F(ExportsTest, MalformedRequestsAreRefusedWithoutTouchingAnything)
{
    const int w = 16, h = 12;
    const Spoiler spoilers[] = {
        {"grey format", [](PluginRequest& r) { r.pixelFormat = 2; }},
        {"five-byte format 8", [](PluginRequest& r) { r.pixelFormat = 8; }},
        {"five-byte format 9", [](PluginRequest& r) { r.pixelFormat = 9; }},
        {"format 0", [](PluginRequest& r) { r.pixelFormat = 0; }},
        {"format 3", [](PluginRequest& r) { r.pixelFormat = 3; }},
        {"format -1", [](PluginRequest& r) { r.pixelFormat = -1; }},
        {"zero width", [](PluginRequest& r) { r.width = 0; }},
        {"zero height", [](PluginRequest& r) { r.height = 0; }},
        {"negative width", [](PluginRequest& r) { r.width = -16; }},
        {"negative height", [](PluginRequest& r) { r.height = -1; }},
        {"source stride short by one", [](PluginRequest& r) { r.sourceStride = rowBytes(r) - 1; }},
        {"destination stride short by one",
         [](PluginRequest& r) { r.destinationStride = rowBytes(r) - 1; }},
        {"zero source stride", [](PluginRequest& r) { r.sourceStride = 0; }},
        {"bottom-up destination stride short by one",
         [](PluginRequest& r) { r.destinationStride = 1 - rowBytes(r); }},
        {"width overflowing the stride", [](PluginRequest& r) { r.width = 0x40000000; }},
        {"null source", [](PluginRequest& r) { r.sourcePixels = nullptr; }},
        {"null destination", [](PluginRequest& r) { r.destinationPixels = nullptr; }},
        {"negative settings length", [](PluginRequest& r) { r.settingsLength = -1; }},
        {"settings length without buffer", [](PluginRequest& r) { r.settingsBuffer = nullptr; }},
        {"negative settings capacity", [](PluginRequest& r) { r.settingsCapacity = -1; }},
    };
    for (int format = 4; format <= 7; ++format) {
        for (const Spoiler& s : spoilers) {
            SCOPED_TRACE(std::string(s.what) + ", format " + std::to_string(format));
            TestImage source(w, h, format, 3);
            drawScene(source);
            TestImage destination(w, h, format, 3, 0x5A);
            const std::vector<uint8_t> before = destination.bytes;
            SettingsBuffer settings(iniSection("_current", {"brush.id=_swaprgb"}));
            const std::vector<char> settingsBefore = settings.bytes;
            CallbackLog log;
            PluginRequest request = makeRequest(source, destination, &settings, &log);
            s.spoil(request);

            EXPECT_FALSE(api.processImage(&request));
            EXPECT_TRUE(destination.bytes == before);
            EXPECT_TRUE(settings.bytes == settingsBefore);
            EXPECT_EQ(request.settingsLength, s.what == std::string("negative settings length")
                                                  ? -1 : settings.length);
            EXPECT_TRUE(log.fractions.empty());
            EXPECT_EQ(log.abortPolls, 0);
            EXPECT_EQ(log.notifications, 0);
        }
    }
}

// Hostile settings sizes over a 4 KiB buffer that ends at an inaccessible
// page: no size makes the plug-in read past the buffer.
TEST_F(ExportsTest, SettingsSizesNeverLeadPastTheBuffer)
{
    TestImage source(24, 16, 5);
    drawScene(source);
    GuardedBytes buffer(4096, true);
    ASSERT_TRUE(buffer.data());
    const std::string text = iniSection("_current", {"brush.id=_swaprgb"});
    std::memset(buffer.data(), ' ', buffer.size());
    std::memcpy(buffer.data(), text.data(), text.size());
    struct Case { int32_t capacity; int32_t length; bool runs; };
    for (const Case& c : {Case{-1, 12288, false}, Case{INT32_MIN, 1, false}, Case{4096, 12288, true},
                          Case{INT32_MAX, 12288, false}}) {
        SCOPED_TRACE("capacity " + std::to_string(c.capacity) + " length " + std::to_string(c.length));
        TestImage destination(24, 16, 5, 0, 0x5A);
        PluginRequest request = makeRequest(source, destination);
        request.settingsBuffer = reinterpret_cast<char*>(buffer.data());
        request.settingsCapacity = c.capacity;
        request.settingsLength = c.length;
        EXPECT_EQ(api.processImage(&request), c.runs);
        EXPECT_EQ(destination.countDifferentPixels(source) != 24 * 16, c.runs);
    }
}

// Pixel buffers shorter than the rows the request says they hold, top-down
// (ending at an inaccessible page) or bottom-up (starting right after one):
// refused, nothing written.
TEST_F(ExportsTest, BuffersShorterThanTheirRowsAreRefused)
{
    const int w = 24, h = 16, stride = w * 3;
    TestImage source(w, h, 5);
    drawScene(source);
    GuardedBytes pixels(size_t(stride) * h, true), half(size_t(stride) * (h / 2), true),
        halfAfterGuard(size_t(stride) * (h / 2), false);
    ASSERT_TRUE(pixels.data() && half.data() && halfAfterGuard.data());
    std::memcpy(pixels.data(), source.bytes.data(), pixels.size());
    std::memset(half.data(), 0x5A, half.size());
    std::memset(halfAfterGuard.data(), 0x5A, halfAfterGuard.size());
    uint8_t* lastRowAfterGuard = halfAfterGuard.data() + size_t(stride) * (h / 2 - 1);
    struct Case { const char* what; uint8_t* source; uint8_t* destination; int32_t stride; int32_t height; };
    // (height - 1) x stride is a multiple of 2^32: rows that wrap round a
    // 32-bit address space.
    const int32_t wrapping = 0x20000001;
    for (const Case& c : {Case{"short source", half.data(), pixels.data(), stride, h},
                          Case{"short destination", pixels.data(), half.data(), stride, h},
                          Case{"short bottom-up destination", pixels.data() + size_t(stride) * (h - 1),
                               lastRowAfterGuard, -stride, h},
                          Case{"rows wrapping round", pixels.data(), half.data(), stride, wrapping}}) {
        SCOPED_TRACE(c.what);
        TestImage destination(w, h, 5);
        PluginRequest request = makeRequest(source, destination);
        request.sourcePixels = c.source;
        request.destinationPixels = c.destination;
        request.sourceStride = request.destinationStride = c.stride;
        request.height = c.height;
        EXPECT_FALSE(api.processImage(&request));
        for (const GuardedBytes* b : {&half, &halfAfterGuard})
            EXPECT_TRUE(std::all_of(b->data(), b->data() + b->size(), [](uint8_t v) { return v == 0x5A; }));
    }
}

// Interactive requests: the real settings dialog of the loaded plug-in,
// answered from a timer in its own message loop.
class InteractiveRequest : public ExportsTest
{
protected:
    void TearDown() override { guitest::pendingActions().clear(); }

    // The DLL reads its own profile: no quick help over the dialog, and no
    // preview paint that would draw from the random generator.
    guitest::ScopedRegistryDword notFirstRun{HKEY_CURRENT_USER, kPluginProfile, "notfirstrun", 1};
    guitest::ScopedRegistryDword noAutoPreview{HKEY_CURRENT_USER, kPluginProfile, "autopreview", 0};
};

// Presses the button once the settings dialog is up; records the dialog's
// owner and caption.
void pressWhenUp(int button, HWND& owner, std::string& caption)
{
    guitest::whenDialogUp([button, &owner, &caption](HWND dialog) {
        owner = GetWindow(dialog, GW_OWNER);
        char text[128] = "";
        GetWindowTextA(dialog, text, sizeof text);
        caption = text;
        PostMessageA(dialog, WM_COMMAND, button, 0);
    });
}

TEST_F(InteractiveRequest, ApplyWritesCurrentKeepsTheOtherSectionAndPaints)
{
    HWND host = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    TestImage source(96, 72, 6);
    drawScene(source);
    TestImage destination(96, 72, 6, 3, 0x5A);
    const std::string other = iniSection("other", {"a=1", "b=two words", "c="});
    SettingsBuffer settings(iniSection("_current", {"brush.id=_swaprgb", "name=Old", "paramschanged=1"}) +
                                other,
                            4096);
    CallbackLog log;
    PluginRequest request = makeRequest(source, destination, &settings, &log);
    request.flags = PluginRequestInteractive;
    request.parentWindow = uint32_t(reinterpret_cast<uintptr_t>(host));

    HWND owner = nullptr;
    std::string caption;
    pressWhenUp(IDOK, owner, caption);
    srand(17);
    const bool ok = api.processImage(&request);
    DestroyWindow(host);
    ASSERT_TRUE(ok);
    EXPECT_EQ(owner, host);
    EXPECT_EQ(caption, "Quillorantix Daubcrafter");

    ASSERT_GT(request.settingsLength, 0);
    ASSERT_LE(request.settingsLength, request.settingsCapacity);
    const std::string text(settings.bytes.data(), size_t(request.settingsLength));
    EXPECT_NE(text.find(other), std::string::npos) << "the caller's section, byte for byte:\n" << text;
    EXPECT_TRUE(std::all_of(settings.bytes.begin() + request.settingsLength, settings.bytes.end(),
                            [](char c) { return c == '#'; }))
        << "bytes behind the new text written";
    SessionSettingsStore written;
    FixedBufferReader reader(settings.bytes.data(), unsigned(request.settingsLength));
    readIni(reader, written);
    EXPECT_EQ(written.sectionNames(), (std::vector<String>{"_current", "other"}));
    const PropertyBag& current = written.findSection("_current");
    EXPECT_EQ(current.getString("brush.id", ""), "_swaprgb");
    EXPECT_FALSE(current.getString("stroke.id", "").empty()) << "the whole setup is saved";
    EXPECT_EQ(current.getString("name", ""), "Old");
    EXPECT_EQ(current.getString("paramschanged", ""), "1");

    // Painted with the confirmed setup, after the dialog: the same pixels as
    // a plain run of the written text.
    EXPECT_EQ(log.notifications, 1);
    EXPECT_TRUE(destination.paddingIs(0x5A));
    TestImage plain(96, 72, 6, 3, 0x5A);
    SettingsBuffer again(text);
    PluginRequest replay = makeRequest(source, plain, &again);
    srand(17);
    ASSERT_TRUE(api.processImage(&replay));
    EXPECT_GT(destination.countDifferentPixels(source), 96 * 72 / 10);
    EXPECT_TRUE(destination.samePixels(plain));
}

TEST_F(InteractiveRequest, CancelOrATextTooLongForTheBufferChangesNothing)
{
    struct Case
    {
        const char* what;
        int button;
        int capacity; // 0: the whole buffer
    };
    for (const Case c : {Case{"cancel", IDCANCEL, 0}, Case{"small buffer", IDOK, 80}}) {
        SCOPED_TRACE(c.what);
        TestImage source(48, 40, 7);
        drawScene(source);
        TestImage destination(48, 40, 7, 0, 0x5A);
        const std::vector<uint8_t> before = destination.bytes;
        SettingsBuffer settings(iniSection("_current", {"brush.id=_swaphsv"}) + iniSection("other", {"k=v"}));
        const std::vector<char> settingsBefore = settings.bytes;
        CallbackLog log;
        PluginRequest request = makeRequest(source, destination, &settings, &log);
        request.flags = PluginRequestInteractive;
        if (c.capacity)
            request.settingsCapacity = c.capacity;

        HWND owner = nullptr;
        std::string caption;
        pressWhenUp(c.button, owner, caption);
        EXPECT_FALSE(api.processImage(&request));
        EXPECT_EQ(caption, "Quillorantix Daubcrafter");
        EXPECT_TRUE(destination.bytes == before);
        EXPECT_TRUE(settings.bytes == settingsBefore);
        EXPECT_EQ(request.settingsLength, settings.length);
        EXPECT_TRUE(log.fractions.empty());
        EXPECT_EQ(log.notifications, 0);
        guitest::pendingActions().clear();
    }
}

// A capacity larger than the memory behind the buffer, or a buffer the host
// keeps read-only: the confirmed text would not fit what can be written, so
// nothing is written and the run reports the failure.
TEST_F(InteractiveRequest, ACapacityPastTheBuffersMemoryWritesNothing)
{
    TestImage source(32, 24, 5);
    drawScene(source);
    const std::string text =
        iniSection("_current", {"brush.id=_swaprgb"}) + iniSection("other", {"k=" + std::string(3900, 'x')});
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only buffer" : "capacity past the buffer");
        GuardedBytes buffer(4096, true);
        ASSERT_TRUE(buffer.data());
        std::memset(buffer.data(), '#', buffer.size());
        std::memcpy(buffer.data(), text.data(), text.size());
        const std::vector<uint8_t> before(buffer.data(), buffer.data() + buffer.size());
        DWORD access = 0;
        if (readOnly) {
            ASSERT_TRUE(VirtualProtect(buffer.data(), buffer.size(), PAGE_READONLY, &access));
        }
        TestImage destination(32, 24, 5, 0, 0x5A);
        PluginRequest request = makeRequest(source, destination);
        request.flags = PluginRequestInteractive;
        request.settingsBuffer = reinterpret_cast<char*>(buffer.data());
        request.settingsCapacity = readOnly ? int32_t(buffer.size()) : INT32_MAX;
        request.settingsLength = int32_t(text.size());

        HWND owner = nullptr;
        std::string caption;
        pressWhenUp(IDOK, owner, caption);
        EXPECT_FALSE(api.processImage(&request));
        guitest::pendingActions().clear();
        if (readOnly)
            VirtualProtect(buffer.data(), buffer.size(), access, &access);
        EXPECT_EQ(caption, "Quillorantix Daubcrafter");
        EXPECT_EQ(request.settingsLength, int32_t(text.size()));
        EXPECT_TRUE(std::equal(before.begin(), before.end(), buffer.data()));
        EXPECT_EQ(destination.countDifferentPixels(source), 32 * 24) << "nothing painted";
    }
}

TEST_F(ExportsTest, OnlyBitZeroOfTheFlagsIsRead)
{
    TestImage source(24, 24, 4);
    drawScene(source);
    TestImage destination(24, 24, 4);
    PluginRequest request = makeRequest(source, destination);
    request.flags = ~uint32_t(PluginRequestInteractive);
    request.reserved = 0xDEADBEEF;
    EXPECT_TRUE(api.processImage(&request));
    EXPECT_GT(destination.countDifferentPixels(source), 0);
}

} // namespace
