#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace plugintest {

// The filter interface as a published host describes it, with definitions
// of its own (never the plug-in's header), so that a layout fault on either
// side shows.

enum : int16_t
{
    HostSelectorAbout = 0,
    HostSelectorParameters = 1,
    HostSelectorPrepare = 2,
    HostSelectorStart = 3,
    HostSelectorContinue = 4,
    HostSelectorFinish = 5
};

enum : int16_t
{
    HostResultOk = 0,
    HostResultCancelled = 1,
    HostResultFailed = -1,
    HostResultOutOfMemory = -108,
    HostResultBadParameters = -30100,
    HostResultBadMode = -30101
};

// The record's rectangles: four int16, top, left, bottom, right.
struct HostRect
{
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

// Pixel-map rectangles: four int32, top, left, bottom, right.
struct HostPixelRect
{
    int32_t top;
    int32_t left;
    int32_t bottom;
    int32_t right;
};

// The pixel map displayPixels receives, naturally aligned on both
// architectures.
struct HostPixelMap
{
    int32_t version;
    HostPixelRect bounds;
    int32_t imageMode;
    int32_t rowBytes;
    int32_t colBytes;
    int32_t planeBytes;
    void* baseAddr;
    void* mat;
    void* masks;
    int32_t maskPhaseRow;
    int32_t maskPhaseCol;
};

typedef uint8_t (*HostAbortProc)();
typedef void (*HostProgressProc)(int32_t done, int32_t total);
typedef int16_t (*HostDisplayPixelsProc)(const HostPixelMap* source, const HostPixelRect* area,
                                        int32_t destinationRow, int32_t destinationColumn,
                                        void* deviceContext);

struct HostPlatformData
{
    void* hwnd;
};

struct HostAboutRecord
{
    HostPlatformData* platformData;
};

// The filter record up to displayPixels, in the published field order,
// packed to 4 bytes as Windows hosts lay it out.
#pragma pack(push, 4)
struct HostFilterRecord
{
    int32_t serialNumber;
    HostAbortProc abortProc;
    HostProgressProc progressProc;
    void* parameters;
    int16_t imageSize[2];
    int16_t planes;
    HostRect filterRect;
    uint16_t background[3];
    uint16_t foreground[3];
    int32_t maxSpace;
    int32_t bufferSpace;
    HostRect inRect;
    int16_t inLoPlane;
    int16_t inHiPlane;
    HostRect outRect;
    int16_t outLoPlane;
    int16_t outHiPlane;
    void* inData;
    int32_t inRowBytes;
    void* outData;
    int32_t outRowBytes;
    uint8_t isFloating;
    uint8_t haveMask;
    uint8_t autoMask;
    HostRect maskRect;
    void* maskData;
    int32_t maskRowBytes;
    uint8_t backColor[4];
    uint8_t foreColor[4];
    uint32_t hostSig;
    void* hostProc;
    int16_t imageMode;
    int32_t imageHRes;
    int32_t imageVRes;
    int16_t floatCoord[2];
    int16_t wholeSize[2];
    int32_t monitor[10];
    void* platformData;
    void* bufferProcs;
    void* resourceProcs;
    void* processEvent;
    HostDisplayPixelsProc displayPixels;
};
#pragma pack(pop)

#if defined(_WIN64)
static_assert(offsetof(HostFilterRecord, parameters) == 20 && offsetof(HostFilterRecord, inRect) == 64 &&
                  offsetof(HostFilterRecord, inData) == 88 && offsetof(HostFilterRecord, imageMode) == 156 &&
                  offsetof(HostFilterRecord, platformData) == 216 &&
                  offsetof(HostFilterRecord, displayPixels) == 248,
              "HostFilterRecord");
static_assert(sizeof(HostPixelMap) == 72 && offsetof(HostPixelMap, baseAddr) == 40, "HostPixelMap");
#else
static_assert(offsetof(HostFilterRecord, parameters) == 12 && offsetof(HostFilterRecord, planes) == 20 &&
                  offsetof(HostFilterRecord, filterRect) == 22 &&
                  offsetof(HostFilterRecord, bufferSpace) == 48 && offsetof(HostFilterRecord, inRect) == 52 &&
                  offsetof(HostFilterRecord, outRect) == 64 && offsetof(HostFilterRecord, inData) == 76 &&
                  offsetof(HostFilterRecord, outRowBytes) == 88 &&
                  offsetof(HostFilterRecord, imageMode) == 128 &&
                  offsetof(HostFilterRecord, platformData) == 188 &&
                  offsetof(HostFilterRecord, displayPixels) == 204,
              "HostFilterRecord");
static_assert(sizeof(HostPixelMap) == 56 && offsetof(HostPixelMap, baseAddr) == 36, "HostPixelMap");
#endif

typedef void (*HostEntryProc)(int16_t selector, void* record, intptr_t* data, int16_t* result);

// The plug-in's settings block as hosts see it behind the parameters handle:
// 8192 bytes of text, its length, a pointer.
#pragma pack(push, 4)
struct HostSettingsBlock
{
    char settings[8192];
    uint32_t settingsLength;
    void* presetStore;
};
#pragma pack(pop)

static_assert(sizeof(HostSettingsBlock) == 8196 + sizeof(void*), "HostSettingsBlock");

// The plug-in as a filter host finds it: the module loaded by file name, its
// PiPL resource read for the kind and the entry point's name under this
// architecture's code key, and that export.
struct FilterModule
{
    HMODULE module = nullptr;
    HostEntryProc entry = nullptr;
    std::string path;
    bool isFilter = false;  // PiPL kind "8BFM"
    std::string entryName;  // from the PiPL
    std::string failure;    // why it is not loaded

    bool loaded() const { return module && entry; }
};

FilterModule loadFilterModule(const std::string& path);

// The folder of the running program, with a trailing backslash.
std::string programFolder();

// Settings memory as hosts keep it between runs and hand it back: a copy of
// the plug-in's master {data pointer, "OTOF"} with the data in the host's
// own heap or from its C runtime, or a record {data pointer, int32 size} of
// the host's handle suite; optionally the data on read-only pages. Or a
// handle whose next word is no size: a moveable global handle whose next
// handle entry is free, or a slot of a master-pointer table whose next slot
// is null or holds another block's pointer.
class HostParameters
{
public:
    enum Kind
    {
        MasterInHostHeap,
        MasterInRuntimeHeap,
        HandleSuiteRecord,
        ReadOnlyMaster,
        MoveableGlobal,
        TableNextNull,
        TableNextPointer
    };

    HostParameters(Kind kind, const std::string& text);
    ~HostParameters();
    HostParameters(const HostParameters&) = delete;
    HostParameters& operator=(const HostParameters&) = delete;

    void* handle() const { return handle_; }
    HostSettingsBlock& block() const { return *block_; }
    std::string text() const { return std::string(block_->settings, block_->settingsLength); }
    // The four bytes after the data pointer, as a size would be read.
    int32_t wordAfterPointer() const;

private:
    Kind kind_;
    HANDLE heap_ = nullptr;
    void* handle_ = nullptr;
    HostSettingsBlock* block_ = nullptr;
    HGLOBAL global_ = nullptr;
    void* other_ = nullptr; // the block the next table slot points at
};

// The data of a handle, read as hosts do: the first word behind it.
HostSettingsBlock* settingsBehind(void* handle);

// What the host's procedures saw. The procedures of this interface carry no
// context, so the host they report to is process-wide.
struct FilterHostLog
{
    std::vector<std::pair<int32_t, int32_t>> progress; // done, total
    int abortPolls = 0;
    int abortAtPoll = 0;  // abort answers "cancel" from this poll on; 0 = never
    uint8_t goOnAnswer = 0;
    uint8_t cancelAnswer = 1;
    // At the first progress report the host calls the entry again with this
    // selector (-1 = never) and keeps the answer.
    int nestedSelector = -1;
    int16_t nestedResult = 0x7777;
    // displayPixels calls, the last map and area shown, and the calls that
    // broke a rule of the map (with the first reason).
    int displayCalls = 0;
    int badDisplayCalls = 0;
    std::string firstBadDisplay;
    HostPixelMap lastMap{};
    HostPixelRect lastArea{};
};

// A developer filter host: the host-owned record, the plug-in's data slot
// and interleaved R,G,B(,A) pixels, driven one selector at a time or through
// a whole run.
class FilterHost
{
public:
    FilterHost(HostEntryProc entry, int width, int height, int planes, int imageMode = 3);
    ~FilterHost();
    FilterHost(const FilterHost&) = delete;
    FilterHost& operator=(const FilterHost&) = delete;

    int16_t call(int16_t selector);
    int16_t about(void* record);
    // Prepare, Start, Continue until no more area is asked (at most 8
    // times), then Finish when every call succeeded; Parameters first when
    // asked. The first non-zero result ends the run and is returned.
    int16_t run(bool withParameters);

    // Points inData and outData at the area the plug-in asked for.
    void deliverBuffers();
    // Gives the record a displayPixels that checks every call against the
    // published rules and draws the map with SetDIBitsToDevice.
    void offerDisplayPixels();
    // The settings block behind the record's parameters handle, or null.
    HostSettingsBlock* settings() const { return settingsBehind(record.parameters); }

private:
    // Hosts' records are longer than the part the plug-in uses.
    std::vector<uint8_t> recordBytes_;

public:
    HostEntryProc entry;
    int width;
    int height;
    int planes;
    int rowBytes;
    std::vector<uint8_t> input;
    std::vector<uint8_t> output;
    HostFilterRecord& record;
    intptr_t data = 0;
    HostPlatformData platform{nullptr};
    FilterHostLog log;
};

// Interleaved pixels with gradients, edges and texture (alpha varies).
void fillPicture(std::vector<uint8_t>& pixels, int width, int height, int planes, int rowBytes);

} // namespace plugintest
