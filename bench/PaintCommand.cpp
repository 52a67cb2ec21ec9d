#include "bench/PaintCommand.h"

#include <windows.h>

#include <cstring>
#include <exception>
#include <vector>

#include "bench/Scene.h"
#include "foundation/Exception.h"
#include "foundation/FileInputStream.h"
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

std::string utf8(const wchar_t* text)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n > 0 ? n : 1), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, &s[0], n, nullptr, nullptr);
    s.pop_back();
    return s;
}

void writeText(DWORD which, const std::string& text)
{
    const HANDLE out = GetStdHandle(which);
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(out, &mode)) {
        const std::wstring wide = widen(text.c_str());
        WriteConsoleW(out, wide.data(), DWORD(wide.size()), &written, nullptr);
    } else {
        WriteFile(out, text.data(), DWORD(text.size()), &written, nullptr);
    }
}

} // namespace

void printError(const std::string& text)
{
    writeText(STD_ERROR_HANDLE, text);
}

void printOutput(const std::string& text)
{
    writeText(STD_OUTPUT_HANDLE, text);
}

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
        printError(std::string("usage: ") + program +
                   " [--input picture] --output painted.png|.jpg "
                   "[--presets file.ini --preset NAME] [--seed N] [--progress]\n");
        return false;
    }
    if (seed && !parseSeed(seed, seedValue_)) {
        printError(std::string("--seed needs a whole number from 0 to 4294967295, not \"") + seed + "\"\n");
        return false;
    }
    if (!inputName)
        inputName = input;
    if (!outputName)
        outputName = output;
    if (!presetsName)
        presetsName = presetFile;
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
        FileInputStream file(CreateFileW(widen(presetFile).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        readIni(file, presets);
    } catch (const Exception&) {
        printError(std::string(presetsName) + ": cannot read the preset file\n");
        return false;
    }
    if (!presets.sectionExists(presetName)) {
        printError(std::string(presetsName) + ": no preset named \"" + presetName + "\"\n");
        std::string names;
        for (const String& name : presets.sectionNames())
            names += (names.empty() ? "\"" : ", \"") + std::string(name) + "\"";
        printError((names.empty() ? "the file holds no preset" : "its presets: " + names) + "\n");
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
    printError(std::string(inputName) + ": " + reason + "\n");
    return false;
}

bool PaintCommand::writePicture(const Image& painted, const Scene& source) const
{
    OwnedBitmap withAlpha;
    if (!source.alpha.empty() && !withSourceAlpha(painted, source, output, withAlpha)) {
        printError("not enough memory for a " + std::to_string(painted.width()) + "x" +
                   std::to_string(painted.height()) + " picture\n");
        return false;
    }
    std::string reason;
    if (!savePicture(source.alpha.empty() ? painted : withAlpha, output, &reason)) {
        printError("cannot write " + std::string(outputName) + ": " + reason + "\n");
        return false;
    }
    WIN32_FILE_ATTRIBUTE_DATA file = {};
    const uint64_t bytes = GetFileAttributesExW(widen(output).c_str(), GetFileExInfoStandard, &file)
                               ? uint64_t(file.nFileSizeHigh) << 32 | file.nFileSizeLow
                               : 0;
    const std::string with = presetName ? "preset \"" + std::string(presetName) + "\""
                                        : std::string("the plug-in's built-in defaults");
    printOutput("wrote " + std::string(outputName) + " (" + std::to_string(painted.width()) + "x" +
                std::to_string(painted.height()) + ", " + sizeText(bytes) + ") with " + with + " in " +
                oneDecimal(double(GetTickCount64() - started_) / 1000.0) + " s\n");
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
    // Wine's console costs tens of milliseconds a write: one per update.
    printOutput("\r" + line);
    shownLength_ = widen(line.c_str()).size();
}

void PaintCommand::endProgress()
{
    if (shownLength_)
        printOutput("\r" + std::string(shownLength_, ' ') + "\r");
    shownLength_ = 0;
    shownPercent_ = -1;
}

int runPaintCommand(const char* program, int (*paint)(PaintCommand&))
{
    try {
        // main's argv holds only what the ANSI code page can: names in any
        // other script would come as question marks.
        int count = 0;
        LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
        std::vector<std::string> arguments;
        for (int i = 0; wide && i < count; ++i)
            arguments.push_back(utf8(wide[i]));
        LocalFree(wide);
        std::vector<char*> argv;
        for (std::string& a : arguments)
            argv.push_back(&a[0]);
        argv.push_back(nullptr);
        PaintCommand command;
        if (!command.parse(int(arguments.size()), argv.data(), program))
            return 2;
        return paint(command);
    } catch (const std::exception& e) {
        printError(std::string(program) + ": " + e.what() + "\n");
    } catch (...) {
        printError(std::string(program) + ": unexpected failure\n");
    }
    return 1;
}
