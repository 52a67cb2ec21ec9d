// Paints a picture through the plug-in's filter door, as a filter host would:
//   filter_host [--input picture] --output painted.png|.jpg
//               [--presets FILE --preset NAME] [--seed N] [--progress]
// A preset goes to the plug-in as the settings block of an earlier run.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FilterHost.h"
#include "bench/PaintCommand.h"
#include "bench/Scene.h"
#include "foundation/IniText.h"
#include "foundation/SessionSettingsStore.h"
#include "foundation/StringBuffer.h"
#include "image/OwnedBitmap.h"

using namespace plugintest;

namespace {

// The filter door's progress procedure carries no context.
PaintCommand* runningCommand = nullptr;

// Called from inside the plug-in: nothing may unwind through its frames.
void onProgress(int32_t done, int32_t total)
{
    try {
        if (runningCommand && total > 0)
            runningCommand->showProgress(double(done) / double(total));
    } catch (...) {
    }
}

// The preset as the only section "_current" of a settings block the host
// keeps in its own memory, as a host does after an earlier run.
bool presetText(const PaintCommand& command, std::string& text)
{
    SessionSettingsStore settings;
    if (!command.readPreset(settings))
        return false;
    StringBuffer ini;
    writeIni(ini, settings);
    text.assign(ini.data(), ini.size());
    if (text.size() > sizeof(HostSettingsBlock::settings)) {
        printError(std::string(command.presetsName) + ": the preset \"" + command.presetName +
                   "\" does not fit a settings block\n");
        return false;
    }
    return true;
}

int paint(PaintCommand& command)
{
    const FilterModule plugin = loadFilterModule(programFolder() + "Quillorantix_Daubcrafter.8bf");
    if (!plugin.loaded()) {
        std::fprintf(stderr, "%s: %s\n", plugin.path.c_str(), plugin.failure.c_str());
        return 1;
    }
    Scene scene;
    if (!command.readPicture(scene))
        return 1;
    if (scene.width > 32767 || scene.height > 32767) {
        printError(std::string(command.inputName) + ": pictures of at most 32767 pixels a side\n");
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
    if (command.presetName && !presetText(command, text))
        return 1;
    HostParameters parameters(HostParameters::MasterInHostHeap, text);
    if (command.presetName)
        host.record.parameters = parameters.handle();
    host.record.progressProc = &onProgress;
    runningCommand = &command;
    srand(command.seedValue());
    const int16_t result = host.run(false);
    runningCommand = nullptr;
    command.endProgress();
    if (result != 0) {
        std::fprintf(stderr, "the filter answered %d\n", result);
        return 1;
    }

    OwnedBitmap painted;
    if (!painted.create(scene.width, scene.height, 4)) {
        std::fprintf(stderr, "not enough memory for a %dx%d picture\n", scene.width, scene.height);
        return 1;
    }
    for (int y = 0; y < scene.height; ++y)
        for (int x = 0; x < scene.width; ++x) {
            const uint8_t* s = &host.output[size_t(y) * host.rowBytes + size_t(x) * 3];
            uint8_t* d = painted.row(y) + x * 3;
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
        }
    return command.writePicture(painted, scene) ? 0 : 1;
}

} // namespace

int main()
{
    return runPaintCommand("filter_host", &paint);
}
