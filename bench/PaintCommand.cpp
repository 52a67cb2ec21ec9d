#include "bench/PaintCommand.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "bench/Scene.h"
#include "foundation/Exception.h"
#include "foundation/IniText.h"
#include "foundation/SessionSettingsStore.h"
#include "image/Image.h"
#include "image/OwnedBitmap.h"

namespace {

// msvcrt's printf follows the locale: decimals are written by hand.
std::string oneDecimal(double value)
{
    const long long tenths = (long long)(value * 10 + 0.5);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string sizeText(uint64_t bytes)
{
    if (bytes < 1024 * 1024)
        return std::to_string((bytes + 512) / 1024) + " KB";
    return oneDecimal(double(bytes) / (1024.0 * 1024.0)) + " MB";
}

// Digits only, as strtoul would also take a sign, blanks and wrap-around.
bool parseSeed(const char* text, unsigned& value)
{
    uint64_t v = 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        v = v * 10 + unsigned(*p - '0');
        if (v > 0xFFFFFFFFu)
            return false;
    }
    value = unsigned(v);
    return *text != 0;
}

} // namespace

bool PaintCommand::parse(int argc, char** argv, const char* program)
{
    started_ = GetTickCount64();
    bool ok = true;
    for (int i = 1; i < argc && ok; ++i) {
        if (!std::strcmp(argv[i], "--progress")) {
            progress = true;
            continue;
        }
        const char** slot = !std::strcmp(argv[i], "--input")          ? &input
                            : !std::strcmp(argv[i], "--output")       ? &output
                            : !std::strcmp(argv[i], "--presets")      ? &presetFile
                            : !std::strcmp(argv[i], "--preset")       ? &presetName
                            : !std::strcmp(argv[i], "--seed")         ? &seed
                            : !std::strcmp(argv[i], "--input-name")   ? &inputName
                            : !std::strcmp(argv[i], "--output-name")  ? &outputName
                            : !std::strcmp(argv[i], "--presets-name") ? &presetsName
                                                                      : nullptr;
        ok = slot && i + 1 < argc;
        if (ok)
            *slot = argv[++i];
    }
    if (!ok || !output || !presetName != !presetFile) {
        std::fprintf(stderr,
                     "usage: %s [--input picture] --output painted.png|.jpg "
                     "[--presets file.ini --preset NAME] [--seed N] [--progress]\n",
                     program);
        return false;
    }
    if (seed && !parseSeed(seed, seedValue_)) {
        std::fprintf(stderr, "--seed needs a whole number from 0 to 4294967295, not \"%s\"\n", seed);
        return false;
    }
    if (!inputName)
        inputName = input;
    if (!outputName)
        outputName = output;
    if (!presetsName)
        presetsName = presetFile;
    // Wine's console costs tens of milliseconds for every unbuffered write
    // of a character: the progress line goes out in one write per update.
    if (progress)
        std::setvbuf(stdout, nullptr, _IOFBF, 4096);
    return true;
}

unsigned PaintCommand::seedValue() const
{
    return seedValue_;
}

bool PaintCommand::readPreset(SessionSettingsStore& working) const
{
    SessionSettingsStore presets;
    try {
        loadIniFile(presetFile, presets);
    } catch (const Exception&) {
        std::fprintf(stderr, "%s: cannot read the preset file\n", presetsName);
        return false;
    }
    if (!presets.sectionExists(presetName)) {
        std::fprintf(stderr, "%s: no preset named \"%s\"\n", presetsName, presetName);
        std::string names;
        for (const String& name : presets.sectionNames())
            names += (names.empty() ? "\"" : ", \"") + std::string(name) + "\"";
        std::fprintf(stderr, "%s\n", names.empty() ? "the file holds no preset" : ("its presets: " + names).c_str());
        return false;
    }
    working.section("_current") = presets.findSection(presetName);
    return true;
}

bool PaintCommand::readPicture(Scene& scene) const
{
    if (!input) {
        scene = makeScene(1024, 768);
        return true;
    }
    std::string reason;
    if (loadScene(input, scene, &reason))
        return true;
    std::fprintf(stderr, "%s: %s\n", inputName, reason.c_str());
    return false;
}

bool PaintCommand::writePicture(const Image& painted, const Scene& source) const
{
    OwnedBitmap withAlpha;
    if (!source.alpha.empty() && !withSourceAlpha(painted, source, output, withAlpha)) {
        std::fprintf(stderr, "not enough memory for a %dx%d picture\n", painted.width(), painted.height());
        return false;
    }
    std::string reason;
    if (!savePicture(source.alpha.empty() ? painted : withAlpha, output, &reason)) {
        std::fprintf(stderr, "cannot write %s: %s\n", outputName, reason.c_str());
        return false;
    }
    WIN32_FILE_ATTRIBUTE_DATA file = {};
    const uint64_t bytes = GetFileAttributesExA(output, GetFileExInfoStandard, &file)
                               ? uint64_t(file.nFileSizeHigh) << 32 | file.nFileSizeLow
                               : 0;
    const std::string with = presetName ? "preset \"" + std::string(presetName) + "\""
                                        : std::string("the plug-in's built-in defaults");
    std::printf("wrote %s (%dx%d, %s) with %s in %s s\n", outputName, painted.width(),
                painted.height(), sizeText(bytes).c_str(), with.c_str(),
                oneDecimal(double(GetTickCount64() - started_) / 1000.0).c_str());
    std::fflush(stdout);
    return true;
}

void PaintCommand::showProgress(double fraction)
{
    if (!progress)
        return;
    const int percent = fraction >= 1 ? 100 : fraction > 0 ? int(fraction * 100) : 0;
    if (percent == shownPercent_)
        return;
    // A few updates a second are enough to watch, and each costs the render
    // a console write.
    const uint64_t now = GetTickCount64();
    if (shownPercent_ >= 0 && percent < 100 && now - shownAt_ < kProgressInterval)
        return;
    shownAt_ = now;
    shownPercent_ = percent;
    const std::string line = std::string("painting ") + (inputName ? inputName : "the generated scene") +
                             ": " + std::to_string(percent) + "%";
    std::printf("\r%s", line.c_str());
    std::fflush(stdout);
    shownLength_ = line.size();
}

void PaintCommand::endProgress()
{
    if (shownLength_)
        std::printf("\r%*s\r", int(shownLength_), "");
    std::fflush(stdout);
    shownLength_ = 0;
    shownPercent_ = -1;
}

int runPaintCommand(int argc, char** argv, const char* program, int (*paint)(PaintCommand&))
{
    try {
        PaintCommand command;
        if (!command.parse(argc, argv, program))
            return 2;
        return paint(command);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", program, e.what());
    } catch (...) {
        std::fprintf(stderr, "%s: unexpected failure\n", program);
    }
    return 1;
}
