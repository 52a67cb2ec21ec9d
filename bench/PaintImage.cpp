// Paints a picture through the plug-in DLL with the default preset.
//   paint_image [--input picture.png] --output painted.png
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "bench/Scene.h"
#include "image/OwnedBitmap.h"
#include "image/codecs/PngCodec.h"
#include "plugin/PluginLibrary.h"

int main(int argc, char** argv)
{
    const char* input = nullptr;
    const char* output = nullptr;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--input"))
            input = argv[i + 1];
        else if (!std::strcmp(argv[i], "--output"))
            output = argv[i + 1];
    }
    if (!output) {
        std::fprintf(stderr, "usage: paint_image [--input picture.png] --output painted.png\n");
        return 2;
    }
    PluginLibrary plugin(programFolder() + "Quillorantix_Daubcrafter.8bf");
    if (!plugin.loaded()) {
        std::fprintf(stderr, "cannot load Quillorantix_Daubcrafter.8bf\n");
        return 1;
    }

    Scene scene;
    if (input) {
        if (!loadScene(input, scene)) {
            std::fprintf(stderr, "cannot read %s\n", input);
            return 1;
        }
    } else {
        scene = makeScene(1024, 768);
    }
    OwnedBitmap source;
    if (!source.create(scene.width, scene.height, kFormatBgr))
        return 1;
    for (int y = 0; y < scene.height; ++y)
        std::memcpy(source.row(y), &scene.pixels[size_t(y) * scene.stride], scene.width * 3);
    OwnedBitmap painted;
    if (!painted.create(source.width(), source.height(), 4))
        return 1;

    std::vector<char> settings(4096);
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
    if (!plugin.processImage(&request)) {
        std::fprintf(stderr, "the plug-in did not paint the picture\n");
        return 1;
    }
    PngCodec codec;
    if (!codec.save(painted, output)) {
        std::fprintf(stderr, "cannot write %s\n", output);
        return 1;
    }
    std::printf("painted %dx%d picture written to %s\n", source.width(), source.height(), output);
    return 0;
}
