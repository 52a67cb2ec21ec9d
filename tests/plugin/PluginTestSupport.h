#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace plugintest {

// The shell plug-in interface as a caller describes it, from the published
// records, not from the plug-in's own header: a layout fault on either side
// shows as a failing test.
struct PluginInfo
{
    char id[32];
    char menuName[32];
    char vendor[32];
    char category[256];
    char about[256];
};

typedef bool(__cdecl* PluginProgressProc)(void* context, float fraction);
typedef bool(__cdecl* PluginAbortProc)(void* context);
typedef void(__cdecl* PluginNotifyProc)(void* context);

enum { PluginRequestInteractive = 1 };

// 17 little-endian 32-bit fields on 32-bit Windows; natural alignment on
// 64-bit Windows.
struct PluginRequest
{
    uint32_t reserved;
    uint32_t flags;
    uint32_t parentWindow;
    uint8_t* sourcePixels;
    uint8_t* destinationPixels;
    int32_t sourceStride;
    int32_t destinationStride;
    int32_t pixelFormat;
    int32_t width;
    int32_t height;
    int32_t settingsCapacity;
    char* settingsBuffer;
    int32_t settingsLength;
    void* callbackContext;
    PluginProgressProc progress;
    PluginAbortProc abortRequested;
    PluginNotifyProc notify;
};

static_assert(sizeof(PluginInfo) == 608 && offsetof(PluginInfo, about) == 352, "PluginInfo");
#if defined(_WIN64)
static_assert(sizeof(PluginRequest) == 104 && offsetof(PluginRequest, sourcePixels) == 0x10 &&
                  offsetof(PluginRequest, settingsBuffer) == 0x38 &&
                  offsetof(PluginRequest, notify) == 0x60,
              "PluginRequest");
#else
static_assert(sizeof(PluginRequest) == 68 && offsetof(PluginRequest, sourcePixels) == 0x0C &&
                  offsetof(PluginRequest, sourceStride) == 0x14 &&
                  offsetof(PluginRequest, settingsCapacity) == 0x28 &&
                  offsetof(PluginRequest, settingsBuffer) == 0x2C &&
                  offsetof(PluginRequest, settingsLength) == 0x30 &&
                  offsetof(PluginRequest, notify) == 0x40,
              "PluginRequest");
#endif

typedef bool(__cdecl* GetInfoProc)(PluginInfo* info);
typedef bool(__cdecl* CanProcessProc)(int32_t pixelFormat, int32_t width, int32_t height);
typedef bool(__cdecl* ProcessImageProc)(PluginRequest* request);

// The folder of the running program, with a trailing backslash.
std::string programFolder();

// An export of a loaded module by name; null without the module or the
// export. GetProcAddress gives a generic pointer; the export's real type is
// known.
template <class Proc>
Proc exported(HMODULE module, const char* name)
{
    return module ? reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}

// The plug-in DLL loaded by file name, as a host loads it, with its three
// exports resolved.
class PluginApi
{
public:
    explicit PluginApi(const std::string& file);
    ~PluginApi();
    PluginApi(const PluginApi&) = delete;
    PluginApi& operator=(const PluginApi&) = delete;

    bool loaded() const { return module_ && getInfo && canProcess && processImage; }
    HMODULE module() const { return module_; }

    const std::string path;
    GetInfoProc getInfo = nullptr;
    CanProcessProc canProcess = nullptr;
    ProcessImageProc processImage = nullptr;

private:
    HMODULE module_;
};

// The plug-in DLL of the test program's folder, loaded once for the whole
// test program.
const PluginApi& plugin();

// A caller-owned pixel buffer in one of the four accepted formats, rows
// padded by `padding` bytes that the plug-in must leave alone.
struct TestImage
{
    TestImage(int width, int height, int format, int padding = 0, uint8_t fill = 0);

    int bytesPerPixel() const { return format == 4 || format == 5 ? 3 : 4; }
    int rowBytes() const { return width * bytesPerPixel(); }
    uint8_t* row(int y) { return bytes.data() + size_t(y) * size_t(stride); }
    const uint8_t* row(int y) const { return bytes.data() + size_t(y) * size_t(stride); }

    // Logical channels of a pixel, whatever the memory order.
    void setRgba(int x, int y, int r, int g, int b, int a);
    void rgba(int x, int y, int out[4]) const;

    // Pixels whose channels differ from other's (same size required).
    int countDifferentPixels(const TestImage& other) const;
    bool samePixels(const TestImage& other) const { return countDifferentPixels(other) == 0; }
    // True when every padding byte still holds `value`.
    bool paddingIs(uint8_t value) const;

    int width;
    int height;
    int format;
    int stride;
    std::vector<uint8_t> bytes;
};

// Bytes placed against an inaccessible page: at the end of the committed
// memory (atEnd) or right after an inaccessible page, so a read or write one
// byte outside faults.
class GuardedBytes
{
public:
    GuardedBytes(size_t size, bool atEnd);
    ~GuardedBytes();
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;

    uint8_t* data() const { return data_; }
    size_t size() const { return size_; }

private:
    uint8_t* base_;
    uint8_t* data_;
    size_t size_;
};

// A generated picture with gradients, hard edges and fine texture, the same
// logical pixels in every format; alpha varies by row in the four-channel
// formats.
void drawScene(TestImage& image);

// What the callbacks saw during one run.
struct CallbackLog
{
    std::vector<float> fractions;
    int abortPolls = 0;
    int notifications = 0;
    int progressCallsBeforeNotify = -1;
    // Progress answers false from this call on (1 = the first); 0 = never.
    int stopAtProgress = 0;
    // Abort answers true from this poll on (1 = the first); 0 = never.
    int abortAtPoll = 0;
};

bool __cdecl logProgress(void* context, float fraction);
bool __cdecl logAbort(void* context);
void __cdecl logNotify(void* context);

// A settings buffer: the text followed by spare capacity filled with a
// marker, so a write anywhere in it shows.
struct SettingsBuffer
{
    explicit SettingsBuffer(const std::string& text = std::string(), int spare = 256);

    std::vector<char> bytes;
    int length;
};

// A non-interactive request over source and destination; no settings text
// when settings is null; callbacks recorded in log when it is given, else
// left null.
PluginRequest makeRequest(TestImage& source, TestImage& destination,
                          SettingsBuffer* settings = nullptr, CallbackLog* log = nullptr);

// Section text with CRLF line ends, keys in the given order.
std::string iniSection(const std::string& name, const std::vector<std::string>& lines);

typedef std::map<std::string, std::string> Preset;

// Every key that a component set of this program saves for the chosen
// components (creation indexes); no "lastedit". Stroke 3 is the extra one
// offered with Control held. The values are those of components loaded from
// an empty section, or with asConstructed those of components never loaded
// (registry choices then hold their table defaults instead of entry 0).
Preset defaultPreset(int brush, int stroke, int application, bool asConstructed = false);

// A section of INI text holding the preset's entries in key order.
std::string presetSection(const std::string& name, const Preset& preset);

} // namespace plugintest
