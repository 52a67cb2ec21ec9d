// Measures the painting effect through the plug-in's exported interface:
// megapixels per second and milliseconds per render (the median of the
// repeats), per preset and size, then per preset how the time grows from the
// first size to the last.
//   daubbench [--input picture.png] [--sizes 1024,4096] [--repeat N]
//             [--preset "INI text"]... [--presets file.ini]
// Without --preset: the built-in defaults, one preset per brush, and every
// preset of the preset file (by default the one installed beside the
// plug-in).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/PluginLibrary.h"
#include "bench/PresetList.h"
#include "bench/Scene.h"
#include "image/PixelFormat.h"

namespace {

// Scales the picture to the wanted size by nearest neighbour (B,G,R).
Scene resized(const Scene& from, int width, int height)
{
    Scene s;
    s.width = width;
    s.height = height;
    s.stride = (width * 3 + 3) & ~3;
    s.pixels.assign(size_t(s.stride) * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int sx = int((long long)x * from.width / width);
            const int sy = int((long long)y * from.height / height);
            std::memcpy(&s.pixels[size_t(y) * s.stride + x * 3],
                        &from.pixels[size_t(sy) * from.stride + sx * 3], 3);
        }
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes = {1024, 4096};
    std::vector<NamedPreset> presets;
    const char* input = nullptr;
    std::string presetFile = programFolder() + "DaubcrafterPresets.ini";
    bool presetFileGiven = false;
    int repeat = 1;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--input") && i + 1 < argc) {
            input = argv[++i];
        } else if (!std::strcmp(argv[i], "--sizes") && i + 1 < argc) {
            sizes = parseSizes(argv[++i]);
        } else if (!std::strcmp(argv[i], "--repeat") && i + 1 < argc) {
            repeat = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--preset") && i + 1 < argc) {
            presets.push_back({"custom" + std::to_string(presets.size() + 1), argv[++i]});
        } else if (!std::strcmp(argv[i], "--presets") && i + 1 < argc) {
            presetFile = argv[++i];
            presetFileGiven = true;
        } else {
            std::fprintf(stderr, "usage: daubbench [--input file.png] [--sizes 1024,4096] "
                                 "[--repeat N] [--preset \"INI text\"]... [--presets file.ini]\n");
            return 2;
        }
    }
    if (presets.empty()) {
        presets = builtInPresets();
        if (!appendFilePresets(presetFile, presets) && presetFileGiven) {
            std::fprintf(stderr, "%s: cannot read the preset file\n", presetFile.c_str());
            return 1;
        }
    }
    if (repeat < 1)
        repeat = 1;

    PluginLibrary plugin(programFolder() + "Quillorantix_Daubcrafter.8bf");
    if (!plugin.loaded()) {
        std::fprintf(stderr, "cannot load Quillorantix_Daubcrafter.8bf beside the benchmark\n");
        return 1;
    }
    Scene source;
    std::string reason;
    if (input && !loadScene(input, source, &reason)) {
        std::fprintf(stderr, "%s: %s\n", input, reason.c_str());
        return 1;
    }

    std::printf("%-18s %6s %10s %10s\n", "preset", "size", "ms/render", "MPix/s");
    // Median milliseconds per preset and size, in the order rendered.
    std::vector<std::vector<double>> medians(presets.size());
    for (int size : sizes) {
        if (size < 1)
            continue;
        Scene picture = input ? resized(source, size, size) : makeScene(size, size);
        std::vector<uint8_t> out(picture.pixels.size());
        for (size_t index = 0; index < presets.size(); ++index) {
            const NamedPreset& preset = presets[index];
            std::vector<char> settings(preset.text.begin(), preset.text.end());
            settings.resize(4096);
            std::vector<double> times;
            bool ok = true;
            for (int r = 0; r < repeat; ++r) {
                PluginRequest request = {};
                request.sourcePixels = picture.pixels.data();
                request.destinationPixels = out.data();
                request.sourceStride = request.destinationStride = picture.stride;
                request.pixelFormat = kFormatBgr;
                request.width = picture.width;
                request.height = picture.height;
                request.settingsCapacity = int32_t(settings.size());
                request.settingsBuffer = settings.data();
                request.settingsLength = int32_t(preset.text.size());
                const double start = nowMs();
                ok = plugin.processImage(&request) && ok;
                times.push_back(nowMs() - start);
            }
            // The median: on a shared machine single runs are slowed by others.
            std::sort(times.begin(), times.end());
            const size_t half = times.size() / 2;
            const double ms = times.size() % 2 ? times[half] : (times[half - 1] + times[half]) / 2;
            medians[index].push_back(ms);
            const double mpix = double(size) * size / 1e6;
            std::printf("%-18s %6d %10.1f %10.2f%s\n", preset.name.c_str(), size, ms,
                        ms > 0 ? mpix / (ms / 1000.0) : 0.0, ok ? "" : "  (render failed)");
            std::fflush(stdout);
        }
    }
    // Pixels grow with the square of the size; a time that grows faster
    // shows memory stalls.
    std::vector<int> timed;
    for (int size : sizes)
        if (size >= 1)
            timed.push_back(size);
    if (timed.size() >= 2 && timed.front() != timed.back()) {
        const double pixels =
            double(timed.back()) * timed.back() / (double(timed.front()) * timed.front());
        std::printf("\n%-18s time %d^2 / %d^2 (%.0fx the pixels)\n", "preset", timed.back(),
                    timed.front(), pixels);
        for (size_t index = 0; index < presets.size(); ++index) {
            const std::vector<double>& ms = medians[index];
            if (ms.size() >= 2 && ms.front() > 0)
                std::printf("%-18s %8.1fx\n", presets[index].name.c_str(), ms.back() / ms.front());
        }
    }
    return 0;
}
