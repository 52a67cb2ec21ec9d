#pragma once

#include <cstddef>
#include <cstdint>

// The shell plug-in interface: plain records of fixed layout, filled and read
// by both sides, and the three exported functions (caller-cleans calling
// convention, undecorated names).

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

static_assert(sizeof(PluginInfo) == 608, "PluginInfo layout");
static_assert(offsetof(PluginInfo, menuName) == 32 && offsetof(PluginInfo, vendor) == 64 &&
                  offsetof(PluginInfo, category) == 96 && offsetof(PluginInfo, about) == 352,
              "PluginInfo field offsets");
#if defined(_WIN64)
// 64-bit hosts and plug-ins are both ours: the record takes its natural layout.
// A window handle still fits 32 bits on 64-bit Windows.
static_assert(sizeof(PluginRequest) == 104, "PluginRequest layout");
static_assert(offsetof(PluginRequest, parentWindow) == 0x08 &&
                  offsetof(PluginRequest, sourcePixels) == 0x10 &&
                  offsetof(PluginRequest, sourceStride) == 0x20 &&
                  offsetof(PluginRequest, pixelFormat) == 0x28 &&
                  offsetof(PluginRequest, settingsCapacity) == 0x34 &&
                  offsetof(PluginRequest, settingsBuffer) == 0x38 &&
                  offsetof(PluginRequest, settingsLength) == 0x40 &&
                  offsetof(PluginRequest, callbackContext) == 0x48 &&
                  offsetof(PluginRequest, notify) == 0x60,
              "PluginRequest field offsets");
#else
static_assert(sizeof(PluginRequest) == 68, "PluginRequest layout");
static_assert(offsetof(PluginRequest, sourcePixels) == 0x0C &&
                  offsetof(PluginRequest, pixelFormat) == 0x1C &&
                  offsetof(PluginRequest, settingsBuffer) == 0x2C &&
                  offsetof(PluginRequest, callbackContext) == 0x34 &&
                  offsetof(PluginRequest, notify) == 0x40,
              "PluginRequest field offsets");
#endif

typedef bool(__cdecl* GetInfoProc)(PluginInfo* info);
typedef bool(__cdecl* CanProcessProc)(int32_t pixelFormat, int32_t width, int32_t height);
typedef bool(__cdecl* ProcessImageProc)(PluginRequest* request);
