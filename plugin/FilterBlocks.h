#pragma once

#include <cstddef>
#include <cstdint>

#include "plugin/FilterInterface.h"

// The plug-in's two blocks kept by a filter host between calls, each in a
// HostHandle: the call data in the host's data slot and the settings in the
// record's parameters handle.

#pragma pack(push, 1)
struct FilterData
{
    int16_t result;
    FilterRecord* filterRecord; // the record of the current call
};
#pragma pack(pop)

enum { FilterSettingsCapacity = 8192 };

#pragma pack(push, 4)
struct FilterParameters
{
    char settings[FilterSettingsCapacity]; // INI text, not NUL-terminated
    uint32_t settingsLength;
    // Zero in the blocks the plug-in makes and never read: the block outlives
    // the plug-in's heap objects, so no pointer into that heap is kept here.
    void* presetStore;
};
#pragma pack(pop)

static_assert(offsetof(FilterData, filterRecord) == 2 && sizeof(FilterData) == 2 + sizeof(void*),
              "FilterData layout");
static_assert(offsetof(FilterParameters, settingsLength) == 8192 &&
                  offsetof(FilterParameters, presetStore) == 8196 &&
                  sizeof(FilterParameters) == 8196 + sizeof(void*),
              "FilterParameters layout");
