// Regression baselines: small renders through the DLL with a complete preset
// and a seeded generator, compared pixel for pixel with stored pictures.
//
// The baselines live in tests/plugin/golden/: <case>.ini is the settings text
// handed to the plug-in, <case>.png the expected picture. When a change to
// the engine alters the pictures on purpose, regenerate both with
//     QX_REGENERATE_GOLDEN=1 scripts/test
// (or run plugin_tests.exe with that variable set), look at the new pictures
// and commit them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>

#include "PluginTestSupport.h"
#include "foundation/FixedBufferReader.h"
#include "foundation/IniText.h"
#include "foundation/SessionSettingsStore.h"
#include "image/OwnedBitmap.h"
#include "image/codecs/PngCodec.h"

using namespace plugintest;

namespace {

struct GoldenCase
{
    const char* name;
    int brush;
    int stroke;
    int application;
    int format;
    unsigned seed;
    // Values that differ from the components' table defaults.
    std::vector<std::pair<std::string, std::string>> changes;
};

const GoldenCase kCases[] = {
    {"swappoint_angle_random", 0, 0, 0, 4, 101, {}},
    {"swaprgb_angle2d_grid", 1, 1, 1, 5, 102, {{"application.random", "1.000000"}}},
    {"swaphsv_vector_random", 2, 2, 0, 6, 103, {{"application.amount", "1.500000"}}},
    {"swapblend_angle_grid", 3, 0, 1, 7, 104, {{"application.passes", "3"}, {"application.offset", "0.500000"}}},
    {"imagecopy_vector_grid", 4, 2, 1, 6, 105, {}},
    {"colorpoint_angle2d_random", 5, 1, 0, 4, 106, {{"application.amount", "0.700000"}}},
    // The constant field through a random curve: a new heading at every step.
    {"swaprgb_angle_randomcurve", 1, 0, 0, 6, 107,
     {{"stroke.direction", "one"}, {"stroke.dir.transform", "rand_unit"}}},
};

const int kSize = 64;

bool regenerating()
{
    const char* v = std::getenv("QX_REGENERATE_GOLDEN");
    return v && v[0] && std::string(v) != "0";
}

std::string goldenPath(const std::string& name, const char* extension)
{
    return std::string(QX_GOLDEN_DIR) + "/" + name + extension;
}

bool readFile(const std::string& path, std::string& out)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    char buffer[4096];
    size_t n;
    out.clear();
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        out.append(buffer, n);
    std::fclose(f);
    return true;
}

bool writeFile(const std::string& path, const std::string& text)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}

// The complete preset of a case: every key the components save.
std::string presetText(const GoldenCase& c)
{
    Preset preset = defaultPreset(c.brush, c.stroke, c.application, true);
    for (const auto& change : c.changes)
        preset[change.first] = change.second;
    preset["name"] = std::string("golden ") + c.name;
    return presetSection("_current", preset);
}

std::set<std::string> currentKeys(const std::string& text)
{
    SessionSettingsStore store;
    FixedBufferReader reader(text.data(), unsigned(text.size()));
    readIni(reader, store);
    std::set<std::string> keys;
    for (const auto& entry : store.findSection("_current").entries())
        keys.insert(entry.first);
    keys.erase("name");
    return keys;
}

TestImage renderCase(const GoldenCase& c, const std::string& text)
{
    TestImage source(kSize, kSize, c.format);
    drawScene(source);
    TestImage destination(kSize, kSize, c.format);
    SettingsBuffer settings(text);
    PluginRequest request = makeRequest(source, destination, &settings);
    srand(c.seed);
    EXPECT_TRUE(plugin().processImage(&request));
    return destination;
}

class GoldenTest : public ::testing::TestWithParam<GoldenCase>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(plugin().loaded()) << "cannot load " << plugin().path;
    }
};

TEST_P(GoldenTest, RenderMatchesTheBaseline)
{
    const GoldenCase& c = GetParam();
    const std::string iniPath = goldenPath(c.name, ".ini");
    const std::string pngPath = goldenPath(c.name, ".png");

    if (regenerating()) {
        const std::string text = presetText(c);
        TestImage painted = renderCase(c, text);
        Image view(painted.width, painted.height, painted.bytes.data(), uint32_t(painted.stride),
                   painted.format);
        ASSERT_TRUE(writeFile(iniPath, text)) << iniPath;
        ASSERT_TRUE(PngCodec().save(view, pngPath)) << pngPath;
        std::printf("regenerated %s\n", pngPath.c_str());
        return;
    }

    std::string text;
    ASSERT_TRUE(readFile(iniPath, text)) << "missing " << iniPath;
    // A preset that lacks a key the components save (or holds one they do
    // not know) no longer pins every value down.
    Preset complete = defaultPreset(c.brush, c.stroke, c.application, true);
    std::set<std::string> expectedKeys;
    for (const auto& entry : complete)
        expectedKeys.insert(entry.first);
    ASSERT_EQ(currentKeys(text), expectedKeys)
        << iniPath << " is out of date: regenerate with QX_REGENERATE_GOLDEN=1";

    OwnedBitmap expected;
    ASSERT_TRUE(PngCodec().load(expected, pngPath)) << "missing " << pngPath;
    ASSERT_EQ(expected.width(), kSize);
    ASSERT_EQ(expected.height(), kSize);

    const TestImage painted = renderCase(c, text);
    const bool hasAlpha = c.format >= 6;
    int different = 0;
    std::string first;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            int got[4];
            painted.rgba(x, y, got);
            const Pixel want = expected.getPixel(x, y);
            if (got[0] != want.r || got[1] != want.g || got[2] != want.b ||
                (hasAlpha && got[3] != want.a)) {
                if (different++ == 0)
                    first = "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
            }
        }
    EXPECT_EQ(different, 0) << different << " pixels differ from " << pngPath << ", first at "
                            << first << "; regenerate with QX_REGENERATE_GOLDEN=1 if intended";

    // The picture is a painting, not a copy of the input.
    TestImage source(kSize, kSize, c.format);
    drawScene(source);
    EXPECT_GT(painted.countDifferentPixels(source), kSize * kSize / 20);

    // The same seed and preset once more: the very same bytes.
    EXPECT_TRUE(renderCase(c, text).bytes == painted.bytes);
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
