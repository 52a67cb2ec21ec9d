// Small shell plug-ins for the host's tests, one DLL per behaviour
// (QX_TEST_PLUGIN selects it). Plain C style, no exceptions.
#include <windows.h>
#include <xmmintrin.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "plugin/PluginRecords.h"

#define TEST_EXPORT extern "C" __declspec(dllexport)

#define QX_GOOD 1
#define QX_NAN 2
#define QX_LIAR 3
#define QX_NOEXPORT 4
#define QX_FPU 5
#define QX_MISSINGDEP 6
#define QX_SLOW 7

#if QX_TEST_PLUGIN == QX_GOOD
static const char kId[] = "qx_test_good";
static const char kMenu[] = "Good";
#elif QX_TEST_PLUGIN == QX_NAN
static const char kId[] = "qx_test_nan";
static const char kMenu[] = "Odd\\Nan";
#elif QX_TEST_PLUGIN == QX_LIAR
static const char kId[] = "qx_test_liar";
static const char kMenu[] = "Liar";
#elif QX_TEST_PLUGIN == QX_NOEXPORT
static const char kId[] = "qx_test_noexport";
static const char kMenu[] = "No Export";
#elif QX_TEST_PLUGIN == QX_FPU
static const char kId[] = "qx_test_fpu";
static const char kMenu[] = "Fpu";
#elif QX_TEST_PLUGIN == QX_MISSINGDEP
static const char kId[] = "qx_test_missingdep";
static const char kMenu[] = "Missing Dependency";
extern "C" __declspec(dllimport) int qxAbsentDependencyValue(void);
#elif QX_TEST_PLUGIN == QX_SLOW
static const char kId[] = "qx_test_slow";
static const char kMenu[] = "Slow";
#endif

namespace {

// Leaves the floating-point unit as a careless plug-in might: single
// precision, rounding toward zero, flush to zero.
void disturbFloatingPoint()
{
#if QX_TEST_PLUGIN == QX_FPU
    uint16_t control = 0;
    asm volatile("fnstcw %0" : "=m"(control));
    control = uint16_t((control & ~0x0F00) | 0x0C00);
    asm volatile("fldcw %0" : : "m"(control));
    _mm_setcsr((_mm_getcsr() & ~0x6000u) | 0x6000u | 0x8000u);
#endif
}

[[maybe_unused]] int bytesPerPixel(int32_t format)
{
    return format == 4 || format == 5 ? 3 : 4;
}

// "runs=N" counts the runs whose settings the host kept.
[[maybe_unused]] int previousRuns(const PluginRequest* r)
{
    int runs = 0;
    if (r->settingsLength > 0 && r->settingsLength < 64) {
        char text[64];
        std::memcpy(text, r->settingsBuffer, size_t(r->settingsLength));
        text[r->settingsLength] = 0;
        std::sscanf(text, "runs=%d", &runs);
    }
    return runs;
}

[[maybe_unused]] void writeSettings(PluginRequest* r, const char* text)
{
    const size_t n = std::strlen(text);
    std::memcpy(r->settingsBuffer, text, n);
    r->settingsLength = int32_t(n);
}

} // namespace

TEST_EXPORT bool __cdecl getInfo(PluginInfo* info)
{
    std::memset(info, 0, sizeof *info);
    std::strcpy(info->id, kId);
    std::strcpy(info->menuName, kMenu);
    std::strcpy(info->vendor, "QX Tests");
    std::strcpy(info->category, "tests");
    std::strcpy(info->about, "a plug-in for the host's tests");
    disturbFloatingPoint();
    return true;
}

#if QX_TEST_PLUGIN == QX_NAN
// Bools are one byte: the bits above it are noise a host must ignore.
TEST_EXPORT uint32_t __cdecl canProcess(int32_t format, int32_t, int32_t)
{
    return format == 6 ? 0x0201u : 0x0100u;
}
#else
TEST_EXPORT bool __cdecl canProcess(int32_t format, int32_t, int32_t)
{
    disturbFloatingPoint();
    return format >= 4 && format <= 7;
}
#endif

#if QX_TEST_PLUGIN == QX_GOOD || QX_TEST_PLUGIN == QX_FPU
TEST_EXPORT bool __cdecl processImage(PluginRequest* r)
{
    if (!r->progress(r->callbackContext, 0.5f) || r->abortRequested(r->callbackContext))
        return false;
    disturbFloatingPoint();
    const int step = bytesPerPixel(r->pixelFormat);
    for (int y = 0; y < r->height; ++y) {
        uint8_t* row = r->destinationPixels + y * r->destinationStride;
        for (int x = 0; x < r->width; ++x)
            for (int c = 0; c < 3; ++c)
                row[x * step + c] = uint8_t(255 - row[x * step + c]);
    }
    if (!r->progress(r->callbackContext, 1.0f))
        return false;
    r->notify(r->callbackContext);
    char text[64];
    std::snprintf(text, sizeof text, "runs=%d;capacity=%d", previousRuns(r) + 1,
                  int(r->settingsCapacity));
    writeSettings(r, text);
    return true;
}
#elif QX_TEST_PLUGIN == QX_NAN
TEST_EXPORT uint32_t __cdecl processImage(PluginRequest* r)
{
    r->progress(r->callbackContext, std::nanf(""));
    r->progress(r->callbackContext, -0.5f);
    r->progress(r->callbackContext, 7.0f);
    r->progress(r->callbackContext, 0.25f);
    return 0x0100u;
}
#elif QX_TEST_PLUGIN == QX_LIAR
// The image width chooses the lie.
TEST_EXPORT bool __cdecl processImage(PluginRequest* r)
{
    writeSettings(r, "scribbled over the settings");
    switch (r->width) {
    case 1:
        r->settingsLength = r->settingsCapacity + 1;
        return true;
    case 2:
        r->settingsLength = -5;
        return true;
    case 3:
        return false;
    default:
        writeSettings(r, "kept=1");
        return true;
    }
}
#elif QX_TEST_PLUGIN == QX_SLOW
// Blackens one row every 10 ms and asks after each whether to stop: long
// enough to be cancelled from the progress window, and a cancelled run leaves
// a half-painted destination behind. Its settings are written first, as a
// plug-in does once its dialog is confirmed.
TEST_EXPORT bool __cdecl processImage(PluginRequest* r)
{
    writeSettings(r, "confirmed");
    const size_t rowBytes = size_t(r->width) * size_t(bytesPerPixel(r->pixelFormat));
    for (int y = 0; y < r->height; ++y) {
        std::memset(r->destinationPixels + y * r->destinationStride, 0, rowBytes);
        if (!r->progress(r->callbackContext, float(y + 1) / float(r->height)) ||
            r->abortRequested(r->callbackContext))
            return false;
        Sleep(10);
    }
    r->notify(r->callbackContext);
    return true;
}
#elif QX_TEST_PLUGIN == QX_MISSINGDEP
TEST_EXPORT bool __cdecl processImage(PluginRequest*)
{
    return qxAbsentDependencyValue() != 0;
}
#endif
