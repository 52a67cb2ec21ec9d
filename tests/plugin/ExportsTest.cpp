// The three exports as a host sees them: loaded by file name, records by
// byte offset, and requests that must be refused without touching anything.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "PluginTestSupport.h"

using namespace plugintest;

namespace {

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
    const PluginLibrary copy(programFolder() + "plugins\\Quillorantix_Daubcrafter.qlplg");
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
        {"negative destination stride", [](PluginRequest& r) { r.destinationStride = -r.destinationStride; }},
        {"width overflowing the stride", [](PluginRequest& r) { r.width = 0x40000000; }},
        {"null source", [](PluginRequest& r) { r.sourcePixels = nullptr; }},
        {"null destination", [](PluginRequest& r) { r.destinationPixels = nullptr; }},
        {"negative settings length", [](PluginRequest& r) { r.settingsLength = -1; }},
        {"settings length without buffer", [](PluginRequest& r) { r.settingsBuffer = nullptr; }},
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

TEST_F(ExportsTest, InteractiveRequestPaintsNothingUntilItCanAskTheUser)
{
    TestImage source(24, 24, 6);
    drawScene(source);
    TestImage destination(24, 24, 6, 0, 0x5A);
    const std::vector<uint8_t> before = destination.bytes;
    SettingsBuffer settings(iniSection("_current", {"brush.id=_swaphsv"}) +
                            iniSection("other", {"k=v"}));
    const std::vector<char> settingsBefore = settings.bytes;
    CallbackLog log;
    PluginRequest request = makeRequest(source, destination, &settings, &log);
    request.flags = PluginRequestInteractive;

    EXPECT_FALSE(api.processImage(&request));
    EXPECT_TRUE(destination.bytes == before);
    EXPECT_TRUE(settings.bytes == settingsBefore);
    EXPECT_EQ(request.settingsLength, settings.length);
    EXPECT_TRUE(log.fractions.empty());
    EXPECT_EQ(log.notifications, 0);
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
