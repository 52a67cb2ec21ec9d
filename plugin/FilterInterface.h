#pragma once

#include <cstddef>
#include <cstdint>

// The Photoshop-compatible filter interface as this plug-in uses it: the
// selectors, the result codes, the host's filter record and pixel map, and the
// entry point's type. Only the fields the plug-in reads or writes carry names;
// the rest of the record is kept as opaque space of the right size, so the
// named fields sit where hosts put them. 32-bit hosts lay the record out with
// natural alignment; 64-bit hosts pack it to 4-byte boundaries.

enum FilterSelector : int16_t
{
    FilterSelectorAbout = 0,
    FilterSelectorParameters = 1,
    FilterSelectorPrepare = 2,
    FilterSelectorStart = 3,
    FilterSelectorContinue = 4,
    FilterSelectorFinish = 5
};

enum FilterResult : int16_t
{
    FilterResultOk = 0,
    FilterResultCancelled = 1,
    FilterResultFailed = -1,
    FilterResultOutOfMemory = -108,
    FilterResultBadParameters = -30100,
    FilterResultBadMode = -30101
};

enum { FilterImageModeRgb = 3 };

// Stored top, left, bottom, right.
struct FilterRect
{
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

typedef uint8_t (*FilterAbortProc)();
typedef void (*FilterProgressProc)(int32_t done, int32_t total);

// Host memory handle: an opaque pointer to a block whose first word is the
// data pointer.
typedef void* FilterHandle;

// The 32-bit rectangle of pixel maps, stored top, left, bottom, right.
struct FilterPixelRect
{
    int32_t top;
    int32_t left;
    int32_t bottom;
    int32_t right;
};

// A host pixel map handed to displayPixels, in natural alignment on both
// architectures. Version 0 maps end at baseAddr for hosts; the fields behind
// it are kept zero for hosts that read the longer layout.
struct FilterPixelMap
{
    int32_t version;
    FilterPixelRect bounds;
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

typedef int16_t (*FilterDisplayPixelsProc)(const FilterPixelMap* source, const FilterPixelRect* area,
                                          int32_t destinationRow, int32_t destinationColumn,
                                          void* deviceContext);

// The record a host gives with selectors 2 to 5 (and 1), up to the last field
// this plug-in uses.
#pragma pack(push, 4)
struct FilterRecord
{
    int32_t reserved0;
    FilterAbortProc abortProc;
    FilterProgressProc progressProc;
    FilterHandle parameters;
    int32_t reserved1;
    int16_t planes;
    FilterRect filterRect;
    uint8_t reserved2[14];
    int32_t reserved3;
    int32_t bufferSpace;
    FilterRect inRect;
    int16_t inLoPlane;
    int16_t inHiPlane;
    FilterRect outRect;
    int16_t outLoPlane;
    int16_t outHiPlane;
    void* inData;
    int32_t inRowBytes;
    void* outData;
    int32_t outRowBytes;
    uint8_t reserved4[12];
    void* reserved5;
    int32_t reserved6[4];
    void* reserved7;
    int16_t imageMode;
    int32_t reserved8[14];
    void* platformData;
    void* reserved9[3];
    FilterDisplayPixelsProc displayPixels;
};
#pragma pack(pop)

// What platformData (and the about record's first field) points to.
struct FilterPlatformData
{
    void* hwnd;
};

// The record a host gives with the About selector instead of FilterRecord.
struct FilterAboutRecord
{
    FilterPlatformData* platformData;
};

// The exported entry: selector, the record, the plug-in's pointer-sized slot
// kept by the host between calls, and the 16-bit result.
typedef void (*FilterEntryProc)(int16_t selector, void* record, intptr_t* data, int16_t* result);

static_assert(sizeof(FilterPixelRect) == 16, "FilterPixelRect layout");

#if defined(_WIN64)
static_assert(sizeof(FilterRecord) == 256, "FilterRecord layout");
static_assert(offsetof(FilterRecord, abortProc) == 4 && offsetof(FilterRecord, progressProc) == 12 &&
                  offsetof(FilterRecord, parameters) == 20 && offsetof(FilterRecord, planes) == 32 &&
                  offsetof(FilterRecord, filterRect) == 34 && offsetof(FilterRecord, bufferSpace) == 60 &&
                  offsetof(FilterRecord, inRect) == 64 && offsetof(FilterRecord, inLoPlane) == 72 &&
                  offsetof(FilterRecord, outRect) == 76 && offsetof(FilterRecord, outHiPlane) == 86 &&
                  offsetof(FilterRecord, inData) == 88 && offsetof(FilterRecord, inRowBytes) == 96 &&
                  offsetof(FilterRecord, outData) == 100 && offsetof(FilterRecord, outRowBytes) == 108 &&
                  offsetof(FilterRecord, imageMode) == 156 &&
                  offsetof(FilterRecord, platformData) == 216 &&
                  offsetof(FilterRecord, displayPixels) == 248,
              "FilterRecord field offsets");
static_assert(sizeof(FilterPixelMap) == 72 && offsetof(FilterPixelMap, baseAddr) == 40 &&
                  offsetof(FilterPixelMap, maskPhaseCol) == 68,
              "FilterPixelMap layout");
#else
static_assert(sizeof(FilterRecord) == 208, "FilterRecord layout");
static_assert(offsetof(FilterRecord, abortProc) == 4 && offsetof(FilterRecord, progressProc) == 8 &&
                  offsetof(FilterRecord, parameters) == 12 && offsetof(FilterRecord, planes) == 20 &&
                  offsetof(FilterRecord, filterRect) == 22 && offsetof(FilterRecord, bufferSpace) == 48 &&
                  offsetof(FilterRecord, inRect) == 52 && offsetof(FilterRecord, inLoPlane) == 60 &&
                  offsetof(FilterRecord, inHiPlane) == 62 && offsetof(FilterRecord, outRect) == 64 &&
                  offsetof(FilterRecord, outLoPlane) == 72 && offsetof(FilterRecord, outHiPlane) == 74 &&
                  offsetof(FilterRecord, inData) == 76 && offsetof(FilterRecord, inRowBytes) == 80 &&
                  offsetof(FilterRecord, outData) == 84 && offsetof(FilterRecord, outRowBytes) == 88 &&
                  offsetof(FilterRecord, imageMode) == 128 &&
                  offsetof(FilterRecord, platformData) == 188 &&
                  offsetof(FilterRecord, displayPixels) == 204,
              "FilterRecord field offsets");
static_assert(sizeof(FilterPixelMap) == 56 && offsetof(FilterPixelMap, baseAddr) == 36 &&
                  offsetof(FilterPixelMap, maskPhaseCol) == 52,
              "FilterPixelMap layout");
#endif
