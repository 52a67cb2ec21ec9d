// Paints a picture through the plug-in DLL.
//   paint_image [--input picture] --output painted.png
//               [--presets file.ini --preset NAME] [--seed N]
// Without --preset the plug-in paints with its built-in defaults. --seed
// seeds the C runtime's generator before the call, as any host may.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/Scene.h"
#include "foundation/Exception.h"
#include "foundation/IniText.h"
#include "foundation/SessionSettingsStore.h"
#include "foundation/StringBuffer.h"
#include "image/OwnedBitmap.h"
#include "image/PixelFormat.h"
#include "image/codecs/PngCodec.h"
#include "plugin/PluginLibrary.h"

namespace {

const char kUsage[] = "usage: paint_image [--input picture] --output painted.png "
                      "[--presets file.ini --preset NAME] [--seed N]\n";

// The named preset of a preset file as the working section "_current".
bool presetText(const char* file, const char* name, std::string& text, std::string& reason)
{
    SessionSettingsStore presets;
    try {
        loadIniFile(file, presets);
    } catch (const Exception&) {
        reason = std::string(file) + ": cannot read the preset file";
        return false;
    }
    if (!presets.sectionExists(name)) {
        reason = std::string(file) + ": no preset named \"" + name + "\"";
        return false;
    }
    SessionSettingsStore working;
    working.section("_current") = presets.findSection(name);
    StringBuffer out;
    writeIni(out, working);
    text = out;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const char* input = nullptr;
    const char* output = nullptr;
    const char* presetFile = nullptr;
    const char* presetName = nullptr;
    const char* seed = nullptr;
    for (int i = 1; i < argc; i += 2) {
        const char** slot = !std::strcmp(argv[i], "--input")     ? &input
                            : !std::strcmp(argv[i], "--output")  ? &output
                            : !std::strcmp(argv[i], "--presets") ? &presetFile
                            : !std::strcmp(argv[i], "--preset")  ? &presetName
                            : !std::strcmp(argv[i], "--seed")    ? &seed
                                                                 : nullptr;
        if (!slot || i + 1 >= argc) {
            std::fputs(kUsage, stderr);
            return 2;
        }
        *slot = argv[i + 1];
    }
    if (!output || (presetName && !presetFile) || (presetFile && !presetName)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    char* seedEnd = nullptr;
    const unsigned long seedValue = seed ? std::strtoul(seed, &seedEnd, 10) : 0;
    if (seed && (*seedEnd || seedEnd == seed)) {
        std::fprintf(stderr, "--seed needs a whole number, not \"%s\"\n", seed);
        return 2;
    }

    std::string settingsText, reason;
    if (presetFile && !presetText(presetFile, presetName, settingsText, reason)) {
        std::fprintf(stderr, "%s\n", reason.c_str());
        return 1;
    }
    PluginLibrary plugin(programFolder() + "Quillorantix_Daubcrafter.8bf");
    if (!plugin.loaded()) {
        std::fprintf(stderr, "cannot load Quillorantix_Daubcrafter.8bf beside paint_image\n");
        return 1;
    }

    Scene scene;
    if (input) {
        if (!loadScene(input, scene, &reason)) {
            std::fprintf(stderr, "%s: %s\n", input, reason.c_str());
            return 1;
        }
    } else {
        scene = makeScene(1024, 768);
    }
    OwnedBitmap source, painted;
    if (!source.create(scene.width, scene.height, kFormatBgr) ||
        !painted.create(scene.width, scene.height, kFormatBgr)) {
        std::fprintf(stderr, "not enough memory for a %dx%d picture\n", scene.width, scene.height);
        return 1;
    }
    for (int y = 0; y < scene.height; ++y)
        std::memcpy(source.row(y), &scene.pixels[size_t(y) * scene.stride], size_t(scene.width) * 3);

    std::vector<char> settings(settingsText.begin(), settingsText.end());
    settings.resize(settings.size() + 4096);
    PluginRequest request = {};
    request.sourcePixels = source.bits();
    request.destinationPixels = painted.bits();
    request.sourceStride = int32_t(source.stride());
    request.destinationStride = int32_t(painted.stride());
    request.pixelFormat = kFormatBgr;
    request.width = source.width();
    request.height = source.height();
    request.settingsCapacity = int32_t(settings.size());
    request.settingsBuffer = settings.data();
    request.settingsLength = int32_t(settingsText.size());
    if (seed)
        std::srand(unsigned(seedValue));
    if (!plugin.processImage(&request)) {
        std::fprintf(stderr, "the plug-in did not paint the picture\n");
        return 1;
    }
    if (!PngCodec().save(painted, output)) {
        std::fprintf(stderr, "cannot write %s\n", output);
        return 1;
    }
    std::printf("painted %dx%d picture written to %s\n", source.width(), source.height(), output);
    return 0;
}
