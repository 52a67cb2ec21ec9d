// Rendered bytes as a contract: the built-in defaults, one preset per brush
// and every shipped preset, painted through the DLL with fixed seeds at
// small and large sizes, each reduced to a hash and compared with the list
// in tests/plugin/golden/render_hashes.txt. A speed change must leave every
// hash as it is, and both architectures share the one list. When a change
// alters renders on purpose, rewrite the list with
//     QX_REGENERATE_GOLDEN=1 QX_ARCHES=x64 scripts/test -R plugin_tests
// then run the x86 suite against it and commit it with the change.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "PluginTestSupport.h"
#include "bench/PresetList.h"

using namespace plugintest;

namespace {

// The sizes and pixel formats the presets are rendered at: the small ones
// for the four-channel and the red-first layouts, the large ones for the
// three-byte layout hosts hand in. The largest outgrows the caches and so
// takes the prefetching paths, and the random placement draws each stroke's
// start one stroke ahead there.
struct RenderSize
{
    int size;
    int format;
};
const RenderSize kSizes[] = {{256, 6}, {256, 5}, {1024, 4}, {2048, 4}};

bool regenerating()
{
    const char* v = std::getenv("QX_REGENERATE_GOLDEN");
    return v && v[0] && std::string(v) != "0";
}

std::string listPath()
{
    return std::string(QX_GOLDEN_DIR) + "/render_hashes.txt";
}

// FNV-1a over every byte of the picture.
uint64_t hashBytes(const std::vector<uint8_t>& bytes)
{
    uint64_t h = 14695981039346656037ull;
    for (uint8_t b : bytes) {
        h ^= b;
        h *= 1099511628211ull;
    }
    return h;
}

std::string caseKey(const std::string& preset, const RenderSize& size)
{
    std::string key = preset + "|" + std::to_string(size.size) + "|" + std::to_string(size.format);
    for (char& c : key)
        if (c == ' ')
            c = '_';
    return key;
}

// "key hash" lines.
std::map<std::string, std::string> readList(const std::string& path)
{
    std::map<std::string, std::string> list;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return list;
    char key[512], hash[64];
    while (std::fscanf(f, "%511s %63s", key, hash) == 2)
        list[key] = hash;
    std::fclose(f);
    return list;
}

TEST(RenderHashTest, EveryPresetRendersTheListedBytes)
{
    ASSERT_TRUE(plugin().loaded()) << "cannot load " << plugin().path;
    std::vector<NamedPreset> presets = builtInPresets();
    ASSERT_TRUE(appendFilePresets(programFolder() + "DaubcrafterPresets.ini", presets));
    ASSERT_GE(presets.size(), 15u);

    std::map<std::string, std::string> got;
    unsigned seed = 7001;
    for (const RenderSize& size : kSizes)
        for (const NamedPreset& preset : presets) {
            TestImage source(size.size, size.size, size.format);
            drawScene(source);
            TestImage destination(size.size, size.size, size.format);
            SettingsBuffer settings(preset.text, 4096);
            PluginRequest request = makeRequest(source, destination, &settings);
            srand(seed++);
            const std::string key = caseKey(preset.name, size);
            EXPECT_TRUE(plugin().processImage(&request)) << key;
            // A render that leaves the picture as it was hashes nothing of the engine.
            EXPECT_GT(destination.countDifferentPixels(source), size.size * size.size / 50) << key;
            char hex[32];
            std::snprintf(hex, sizeof hex, "%016" PRIx64, hashBytes(destination.bytes));
            got[key] = hex;
        }

    if (regenerating()) {
        FILE* f = std::fopen(listPath().c_str(), "wb");
        ASSERT_TRUE(f) << listPath();
        for (const auto& entry : got)
            std::fprintf(f, "%s %s\n", entry.first.c_str(), entry.second.c_str());
        ASSERT_EQ(std::fclose(f), 0);
        std::printf("regenerated %s\n", listPath().c_str());
        return;
    }

    const std::map<std::string, std::string> want = readList(listPath());
    ASSERT_FALSE(want.empty()) << "missing " << listPath();
    int changed = 0;
    for (const auto& entry : got) {
        const auto it = want.find(entry.first);
        if (it == want.end()) {
            ADD_FAILURE() << entry.first << " is not in the list";
        } else if (it->second != entry.second) {
            ++changed;
            ADD_FAILURE() << entry.first << " renders " << entry.second << ", the list holds "
                          << it->second;
        }
    }
    for (const auto& entry : want)
        EXPECT_EQ(got.count(entry.first), 1u) << entry.first << " is listed but not rendered";
    EXPECT_EQ(changed, 0) << "renders changed; if intended, regenerate with "
                             "QX_REGENERATE_GOLDEN=1";
}

} // namespace
