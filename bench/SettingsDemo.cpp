// Shows the plug-in's settings dialog over a picture (a photo, or the
// generated scene), waits for the first finished preview, saves a PNG of the
// right- and the left-handed layout, presses Apply and prints the "_current"
// settings text. With --bench it instead times a parameter change up to the
// finished preview paint (default preset, zoom 100 %), then the opening of
// the dialog over a preset file of many presets until it shows.
//   settings_demo [--input picture] [--output-dir folder] [--bench] [--size N]
//                 [--repeat N] [--presets N]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bench/PluginLibrary.h"
#include "Scene.h"
#include "engine/Canvas.h"
#include "engine/Component.h"
#include "engine/ComponentSet.h"
#include "engine/Painter.h"
#include "engine/applications/ApplicationPattern.h"
#include "foundation/IniFile.h"
#include "foundation/MemorySettingsStore.h"
#include "foundation/IniText.h"
#include "foundation/PropertyWriter.h"
#include "framework/Application.h"
#include "framework/Screenshot.h"
#include "image/OwnedBitmap.h"
#include "image/codecs/PngCodec.h"
#include "plugin/FixedBufferWriter.h"
#include "plugin/PluginApp.h"
#include "plugin/SettingsDialog.h"
#include "plugin/dialogs/EffectDialog.h"

namespace {

typedef std::function<bool(CEffectDialog&)> Step;
std::vector<Step> script;

BOOL CALLBACK findDialog(HWND window, LPARAM result)
{
    if (IsWindowVisible(window) && dynamic_cast<CEffectDialog*>(CWnd::fromHandle(window)))
        *reinterpret_cast<HWND*>(result) = window;
    return TRUE;
}

void CALLBACK scriptTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND window = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &findDialog, reinterpret_cast<LPARAM>(&window));
    CEffectDialog* dialog = window ? dynamic_cast<CEffectDialog*>(CWnd::fromHandle(window)) : nullptr;
    if (!dialog)
        return;
    if (script.empty()) {
        KillTimer(nullptr, id);
        return;
    }
    if (script.front()(*dialog))
        script.erase(script.begin());
}

double now()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return double(count.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// Paints through the component set and notes when each paint ended.
struct TimedPainter : Painter
{
    Painter* inner = nullptr;
    double started = 0.0, ended = 0.0;
    int completed = 0;
    bool paint(Canvas& canvas, RenderCallbacks& callbacks) override
    {
        started = now();
        const bool done = inner->paint(canvas, callbacks);
        if (done) {
            ended = now();
            ++completed;
        }
        return done;
    }
};

Parameter* firstSlider(Component* component)
{
    for (int i = 0; component && i < Component::ParameterSlots; ++i) {
        Parameter* p = component->parameterAt(i);
        if (!p || p->flags == 0)
            break;
        if (p->flags == 2 && p->max > p->min)
            return p;
    }
    return nullptr;
}

int runBenchmark(Image& picture, int repeat)
{
    pluginApp().writeProfileInt("general", "lefthanded", 0);
    MemorySettingsStore working;
    ComponentSet components(working.sectionReader("_current"));
    TimedPainter timed;
    timed.inner = &components;
    std::vector<double> latency, paintOnly;
    double changedAt = 0.0;
    int seen = 0;
    Parameter* slider = nullptr;
    RECT previewRect = {0, 0, 0, 0};
    script.clear();
    script.push_back([&](CEffectDialog& d) {
        if (timed.completed < 1)
            return false;
        GetClientRect(d.preview().hwnd(), &previewRect);
        // The page on show is the application's: its parameters tell the dialog.
        slider = firstSlider(components.currentApplication);
        return true;
    });
    for (int i = 0; i < repeat; ++i) {
        script.push_back([&, i](CEffectDialog&) {
            if (!slider)
                return true;
            seen = timed.completed;
            changedAt = now();
            // The binding's own path: the parameter tells its listener.
            slider->setValue(slider->values[0] + ((i & 1) ? -1 : 1), 0);
            return true;
        });
        script.push_back([&](CEffectDialog&) {
            if (timed.completed <= seen)
                return false;
            latency.push_back(timed.ended - changedAt);
            paintOnly.push_back(timed.ended - timed.started);
            return true;
        });
    }
    script.push_back([](CEffectDialog& d) {
        PostMessageA(d.hwnd(), WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    SetTimer(nullptr, 0, 2, &scriptTimer);
    SettingsDialogSession session;
    session.components = &components;
    session.source = &picture;
    session.painter = &timed;
    runEffectDialog(session);
    if (latency.empty()) {
        std::fprintf(stderr, "error: no preview paint was timed\n");
        return 1;
    }
    std::sort(latency.begin(), latency.end());
    std::sort(paintOnly.begin(), paintOnly.end());
    std::printf("preview latency, %dx%d picture, preview %ldx%ld at 100%%, default preset, one "
                "thread: change to finished paint median %.1f ms (min %.1f, max %.1f), the paint "
                "alone median %.1f ms, %d changes\n",
                picture.width(), picture.height(), previewRect.right, previewRect.bottom,
                latency[latency.size() / 2], latency.front(), latency.back(),
                paintOnly[paintOnly.size() / 2], int(latency.size()));
    return 0;
}

// A preset file of `count` presets as users collect them: full sections,
// names of mixed case in no particular order.
std::string writePresetFile(int count)
{
    char folder[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "qx_bench_presets.ini";
    DeleteFileA(path.c_str());
    DeleteFileA((path + ".bak").c_str());
    static const char* const words[] = {"oil", "Wash", "sketch", "Pastel", "ink", "Dry brush",
                                        "charcoal", "Glaze", "impasto", "Sponge", "1980s", "Bold"};
    MemorySettingsStore working;
    ComponentSet components(working.sectionReader("_current"));
    IniFile store(path);
    unsigned seed = 12345;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        // The count in the low digits keeps every name apart.
        const String name = String::fromFormat("%s %u", words[(seed >> 16) % 12],
                                               (seed >> 8) % 1000u * 100000u + unsigned(i));
        PropertyWriter& section = store.sectionWriter(name);
        section.setString("name", name);
        section.setString("author", "bench");
        section.setString("description", "a collected preset");
        section.setString("type", "dw1");
        components.save(section);
    }
    const bool saved = store.save(path);
    store.modified = false;
    return saved ? path : std::string();
}

// From opening the preset file to the dialog on screen, as a door does it.
int runPresetBenchmark(Image& picture, int count, int repeat)
{
    const std::string path = writePresetFile(count);
    if (path.empty()) {
        std::fprintf(stderr, "error: the preset file could not be written\n");
        return 1;
    }
    MemorySettingsStore working;
    ComponentSet components(working.sectionReader("_current"));
    std::vector<double> shown, opened;
    int entries = 0;
    for (int i = 0; i < repeat; ++i) {
        double started = 0.0, visibleAt = 0.0;
        script.clear();
        script.push_back([&](CEffectDialog& d) {
            visibleAt = now();
            entries = int(SendDlgItemMessageA(d.hwnd(), 1001, CB_GETCOUNT, 0, 0));
            PostMessageA(d.hwnd(), WM_COMMAND, IDCANCEL, 0);
            return true;
        });
        const UINT_PTR timer = SetTimer(nullptr, 0, 1, &scriptTimer);
        started = now();
        IniFile store(path);
        const double storeOpen = now();
        SettingsDialogSession session;
        session.components = &components;
        session.source = &picture;
        session.presets = &store;
        runEffectDialog(session);
        KillTimer(nullptr, timer);
        store.modified = false;
        if (visibleAt <= 0.0) {
            std::fprintf(stderr, "error: the dialog did not show\n");
            return 1;
        }
        shown.push_back(visibleAt - started);
        opened.push_back(storeOpen - started);
    }
    DeleteFileA(path.c_str());
    std::sort(shown.begin(), shown.end());
    std::sort(opened.begin(), opened.end());
    std::printf("settings dialog over %d presets (%d list entries): preset file open to dialog "
                "shown median %.1f ms (min %.1f, max %.1f), of which reading the file %.1f ms, "
                "%d openings\n",
                count, entries, shown[shown.size() / 2], shown.front(), shown.back(),
                opened[opened.size() / 2], int(shown.size()));
    return 0;
}

int runDemo(Image& picture, const std::string& folder)
{
    MemorySettingsStore working;
    const char* names[2] = {"settings_right.png", "settings_left.png"};
    for (int left = 0; left < 2; ++left) {
        pluginApp().writeProfileInt("general", "lefthanded", left);
        bool saved = false;
        script.clear();
        script.push_back([](CEffectDialog& d) { return d.finishedPaints() >= 1; });
        script.push_back([&, left](CEffectDialog& d) {
            const std::string path = folder + names[left];
            saved = guitest::saveCapture(guitest::captureWindow(d.hwnd()), path);
            std::printf("%s %s\n", saved ? "saved" : "could not save", path.c_str());
            SendMessageA(GetDlgItem(d.hwnd(), IDOK), BM_CLICK, 0, 0);
            return true;
        });
        SetTimer(nullptr, 0, 20, &scriptTimer);
        if (editCurrentSetup(working, picture, nullptr) != DialogOutcome::Applied || !saved) {
            std::fprintf(stderr, "error: the dialog did not end with Apply and a screenshot\n");
            return 1;
        }
    }
    std::vector<char> text(65536);
    FixedBufferWriter writer(text.data(), unsigned(text.size()));
    writeIni(writer, working);
    std::fwrite(text.data(), 1, writer.length(), stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const char* input = nullptr;
    std::string folder = "out\\";
    bool bench = false;
    int size = 1024, repeat = 15, presets = 8000;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--bench")) {
            bench = true;
        } else if (i + 1 < argc && !std::strcmp(argv[i], "--input")) {
            input = argv[++i];
        } else if (i + 1 < argc && !std::strcmp(argv[i], "--output-dir")) {
            folder = argv[++i];
            if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
                folder += '\\';
        } else if (i + 1 < argc && !std::strcmp(argv[i], "--size")) {
            size = std::max(16, std::min(8192, std::atoi(argv[++i])));
        } else if (i + 1 < argc && !std::strcmp(argv[i], "--presets")) {
            presets = std::max(0, std::min(100000, std::atoi(argv[++i])));
        } else if (i + 1 < argc && !std::strcmp(argv[i], "--repeat")) {
            repeat = std::max(1, std::min(1000, std::atoi(argv[++i])));
        } else {
            std::fprintf(stderr, "error: unknown argument %s\n", argv[i]);
            return 2;
        }
    }
    // Dialogs, cursors and pictures come from the plug-in DLL, as when a host
    // loads it; the profile lives below a scratch key.
    HMODULE module = LoadLibraryA((programFolder() + "Quillorantix_Daubcrafter.8bf").c_str());
    if (!module) {
        std::fprintf(stderr, "error: the plug-in DLL could not be loaded\n");
        return 1;
    }
    CApplication::setProfileRoot(HKEY_CURRENT_USER, "Software\\QxSettingsDemo");
    pluginApp().attachModule(module);
    pluginApp().writeProfileInt("general", "notfirstrun", 1);
    pluginApp().writeProfileInt("general", "autopreview", 1);

    Scene scene;
    std::string reason;
    if (input) {
        if (!loadScene(input, scene, &reason)) {
            std::fprintf(stderr, "error: %s: %s\n", input, reason.c_str());
            return 1;
        }
    } else {
        scene = makeScene(size, size);
    }
    Image picture(scene.width, scene.height, scene.pixels.data(), uint32_t(scene.stride), 4);
    int status = bench ? runBenchmark(picture, repeat) : runDemo(picture, folder);
    if (bench && status == 0 && presets > 0)
        status = runPresetBenchmark(picture, presets, std::min(repeat, 5));
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QxSettingsDemo");
    return status;
}
