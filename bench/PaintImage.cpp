// Paints a picture through the plug-in DLL.
//   paint_image [--input picture] --output painted.png|.jpg
//               [--presets file.ini --preset NAME] [--seed N] [--progress]
// Reads PNG, JPEG, BMP and TGA; writes JPEG for .jpg/.jpeg names, PNG
// otherwise. Without --preset the plug-in paints with its built-in defaults.
// --seed seeds the C runtime's generator before the call, as any host may.
// --progress keeps a progress line updated while the plug-in paints.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/PaintCommand.h"
#include "bench/PluginLibrary.h"
#include "bench/Scene.h"
#include "foundation/IniText.h"
#include "foundation/SessionSettingsStore.h"
#include "foundation/StringBuffer.h"
#include "image/OwnedBitmap.h"
#include "image/PixelFormat.h"

namespace {

// Called from inside the plug-in: nothing may unwind through its frames.
bool __cdecl onProgress(void* context, float fraction)
{
    try {
        static_cast<PaintCommand*>(context)->showProgress(fraction);
    } catch (...) {
    }
    return true;
}

int paint(PaintCommand& command)
{

    std::string settingsText;
    if (command.presetFile) {
        SessionSettingsStore working;
        if (!command.readPreset(working))
            return 1;
        StringBuffer out;
        writeIni(out, working);
        settingsText = out;
    }
    PluginLibrary plugin(programFolder() + "Quillorantix_Daubcrafter.8bf");
    if (!plugin.loaded()) {
        std::fprintf(stderr, "cannot load Quillorantix_Daubcrafter.8bf beside paint_image\n");
        return 1;
    }

    Scene scene;
    if (!command.readPicture(scene))
        return 1;
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
    request.callbackContext = &command;
    request.progress = &onProgress;
    if (command.seed)
        std::srand(command.seedValue());
    const bool done = plugin.processImage(&request);
    command.endProgress();
    if (!done) {
        std::fprintf(stderr, "the plug-in did not paint the picture\n");
        return 1;
    }
    return command.writePicture(painted, scene) ? 0 : 1;
}

} // namespace

int main()
{
    return runPaintCommand("paint_image", &paint);
}
