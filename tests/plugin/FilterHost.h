#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "plugin/FilterInterface.h"

namespace plugintest {

// The plug-in as a filter host finds it: the module loaded by file name, its
// PiPL resource read for the kind and the entry point's name under this
// architecture's code key, and that export.
struct FilterModule
{
    HMODULE module = nullptr;
    FilterEntryProc entry = nullptr;
    std::string path;
    bool isFilter = false;  // PiPL kind "8BFM"
    std::string entryName;  // from the PiPL
    std::string failure;    // why it is not loaded

    bool loaded() const { return module && entry; }
};

FilterModule loadFilterModule(const std::string& path);

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
    // displayPixels calls, with the last map and area shown.
    int displayCalls = 0;
    FilterPixelMap lastMap{};
    FilterRect lastArea{};
};

// A developer filter host: the host-owned record, the plug-in's data slot
// and interleaved R,G,B(,A) pixels, driven one selector at a time or through
// a whole run.
class FilterHost
{
public:
    FilterHost(FilterEntryProc entry, int width, int height, int planes, int imageMode = 3);
    ~FilterHost();
    FilterHost(const FilterHost&) = delete;
    FilterHost& operator=(const FilterHost&) = delete;

    int16_t call(int16_t selector);
    int16_t about(FilterAboutRecord* record);
    // Prepare, Start, Continue until no more area is asked (at most 8
    // times), then Finish when every call succeeded; Parameters first when
    // asked. The first non-zero result ends the run and is returned.
    int16_t run(bool withParameters);

    // Points inData and outData at the area the plug-in asked for.
    void deliverBuffers();
    // Gives the record a displayPixels that records what it is shown.
    void offerDisplayPixels();

private:
    // Hosts' records are longer than the part the plug-in uses.
    std::vector<uint8_t> recordBytes_;

public:
    FilterEntryProc entry;
    int width;
    int height;
    int planes;
    int rowBytes;
    std::vector<uint8_t> input;
    std::vector<uint8_t> output;
    FilterRecord& record;
    intptr_t data = 0;
    FilterPlatformData platform{nullptr};
    FilterHostLog log;
};

// Interleaved pixels with gradients, edges and texture (alpha varies).
void fillPicture(std::vector<uint8_t>& pixels, int width, int height, int planes, int rowBytes);

} // namespace plugintest
