#pragma once

#include <cstdint>
#include <string>

class Image;
class SessionSettingsStore;
struct Scene;

// What the two paint commands (paint_image through the shell door,
// filter_host through the filter door) share: their command line, the
// preset, the picture files, the progress line and the closing report.
struct PaintCommand
{
    const char* input = nullptr;
    const char* output = nullptr;
    const char* presetFile = nullptr;
    const char* presetName = nullptr;
    const char* seed = nullptr;
    // All UTF-8. How the user named the files, for messages: the scripts
    // pass Windows forms of the paths, which the user never typed.
    const char* inputName = nullptr;
    const char* outputName = nullptr;
    const char* presetsName = nullptr;
    bool progress = false;

    // False, with the usage printed, when the command line is not one of
    //   --input F --output F [--presets F --preset NAME] [--seed N]
    //   [--input-name S] [--output-name S] [--presets-name S] [--progress]
    // (--output required).
    bool parse(int argc, char** argv, const char* program);
    unsigned seedValue() const;

    // The named preset as the working section "_current"; false with the
    // reason printed (for a name the file lacks, with the names it holds).
    bool readPreset(SessionSettingsStore& working) const;
    // The input picture, or the generated scene without one; false with the
    // reason printed.
    bool readPicture(Scene& scene) const;
    // JPEG for .jpg/.jpeg names, PNG otherwise, with the alpha of the
    // picture read (see withSourceAlpha); on success the closing line: what
    // was written, its size, the preset and the time since start.
    bool writePicture(const Image& painted, const Scene& source) const;

    // The progress line, rewritten in place, when asked for (the scripts ask
    // when their output is a terminal).
    void showProgress(double fraction);
    // Blanks the progress line for what follows.
    void endProgress();

private:
    static constexpr uint64_t kProgressInterval = 200; // ms
    unsigned seedValue_ = 1;
    uint64_t started_ = 0;
    uint64_t shownAt_ = 0;
    int shownPercent_ = -1;
    size_t shownLength_ = 0;
};

// A paint command's main: parses the command line, read as wide characters
// (exit 2 when it is wrong), then runs paint, catching whatever it throws
// (exit 1).
int runPaintCommand(const char* program, int (*paint)(PaintCommand&));

// UTF-8 text to standard error, or output, as it is: a pipe or a file gets
// the bytes, a console the characters (msvcrt and the console would read the
// bytes in a code page).
void printError(const std::string& text);
void printOutput(const std::string& text);
