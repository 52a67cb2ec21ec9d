// Paints a picture through the plug-in's filter door, as a filter host would:
//   filter_host [--input picture.png] --output painted.png
//               [--presets FILE --preset NAME] [--seed N]
// A preset goes to the plug-in as the settings block of an earlier run.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FilterHost.h"
#include "bench/Scene.h"
#include "foundation/IniText.h"
#include "foundation/SessionSettingsStore.h"
#include "image/OwnedBitmap.h"
#include "image/codecs/PngCodec.h"
#include "foundation/StringBuffer.h"

using namespace plugintest;

namespace {

// The preset as the only section "_current" of a settings block the host
// keeps in its own memory, as a host does after an earlier run.
bool presetText(const char* file, const char* name, std::string& text)
{
    SessionSettingsStore presets;
    try {
        loadIniFile(file, presets);
    } catch (...) {
        std::fprintf(stderr, "cannot read %s\n", file);
        return false;
    }
    if (!presets.sectionExists(name)) {
        std::fprintf(stderr, "no preset \"%s\" in %s\n", name, file);
        return false;
    }
    SessionSettingsStore settings;
    settings.section("_current") = presets.findSection(name);
    StringBuffer ini;
    writeIni(ini, settings);
    text.assign(ini.data(), ini.size());
    if (text.size() > sizeof(HostSettingsBlock::settings)) {
        std::fprintf(stderr, "preset \"%s\" does not fit a settings block\n", name);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const char* input = nullptr;
    const char* output = nullptr;
    const char* presetFile = nullptr;
    const char* presetName = nullptr;
    unsigned seed = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--input"))
            input = argv[i + 1];
        else if (!std::strcmp(argv[i], "--output"))
            output = argv[i + 1];
        else if (!std::strcmp(argv[i], "--presets"))
            presetFile = argv[i + 1];
        else if (!std::strcmp(argv[i], "--preset"))
            presetName = argv[i + 1];
        else if (!std::strcmp(argv[i], "--seed"))
            seed = unsigned(std::strtoul(argv[i + 1], nullptr, 10));
    }
    if (!output || (presetName && !presetFile)) {
        std::fprintf(stderr, "usage: filter_host [--input picture.png] --output painted.png "
                             "[--presets FILE --preset NAME] [--seed N]\n");
        return 2;
    }
    const FilterModule plugin = loadFilterModule(programFolder() + "Quillorantix_Daubcrafter.8bf");
    if (!plugin.loaded()) {
        std::fprintf(stderr, "%s: %s\n", plugin.path.c_str(), plugin.failure.c_str());
        return 1;
    }
    Scene scene;
    if (input && !loadScene(input, scene)) {
        std::fprintf(stderr, "cannot read %s\n", input);
        return 1;
    }
    if (!input)
        scene = makeScene(1024, 768);
    if (scene.width > 32767 || scene.height > 32767) {
        std::fprintf(stderr, "pictures of at most 32767 pixels a side\n");
        return 1;
    }

    FilterHost host(plugin.entry, scene.width, scene.height, 3);
    for (int y = 0; y < scene.height; ++y)
        for (int x = 0; x < scene.width; ++x) {
            const uint8_t* s = &scene.pixels[size_t(y) * scene.stride + size_t(x) * 3];
            uint8_t* d = &host.input[size_t(y) * host.rowBytes + size_t(x) * 3];
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
        }
    std::string text;
    if (presetName && !presetText(presetFile, presetName, text))
        return 1;
    HostParameters parameters(HostParameters::MasterInHostHeap, text);
    if (presetName)
        host.record.parameters = parameters.handle();
    srand(seed);
    const int16_t result = host.run(false);
    if (result != 0) {
        std::fprintf(stderr, "the filter answered %d\n", result);
        return 1;
    }

    OwnedBitmap painted;
    if (!painted.create(scene.width, scene.height, 4))
        return 1;
    for (int y = 0; y < scene.height; ++y)
        for (int x = 0; x < scene.width; ++x) {
            const uint8_t* s = &host.output[size_t(y) * host.rowBytes + size_t(x) * 3];
            uint8_t* d = painted.row(y) + x * 3;
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
        }
    PngCodec codec;
    if (!codec.save(painted, output)) {
        std::fprintf(stderr, "cannot write %s\n", output);
        return 1;
    }
    std::printf("painted %dx%d picture through ENTRYPOINT1 written to %s\n", scene.width,
                scene.height, output);
    return 0;
}
