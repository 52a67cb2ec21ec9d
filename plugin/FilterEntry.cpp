#include "plugin/FilterEntry.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "engine/Canvas.h"
#include "engine/ComponentSet.h"
#include "engine/HostRenderCallbacks.h"
#include "foundation/Exception.h"
#include "foundation/FixedBufferReader.h"
#include "foundation/IniText.h"
#include "foundation/Logger.h"
#include "foundation/SessionSettingsStore.h"
#include "image/Image.h"
#include "plugin/DialogSeams.h"
#include "plugin/EntryGuard.h"
#include "plugin/FilterBlocks.h"
#include "plugin/HostHandle.h"
#include "plugin/SettingsDialog.h"
#include "plugin/SettingsText.h"

namespace {

// Set by Parameters, consumed by the next Continue, dropped at Finish: an
// aborted run must not bring the dialog up unasked next time.
bool showDialog = false;

// The block behind the data slot when it is one of ours, else a new one
// (stored in the slot); null when none can be made.
FilterData* filterDataFor(intptr_t* slot)
{
    FilterHandle kept = reinterpret_cast<FilterHandle>(*slot);
    if (void* data = hostHandleData(kept, sizeof(FilterData)))
        return static_cast<FilterData*>(data);
    if (kept)
        currentLogger()->event("filter data slot holds no block of ours; making a new one");
    FilterHandle handle = newHostHandle(sizeof(FilterData));
    if (!handle)
        return nullptr;
    *slot = reinterpret_cast<intptr_t>(handle);
    return static_cast<FilterData*>(static_cast<HostHandleMaster*>(handle)->data);
}

// The settings block of the record when it is one of ours, with its length
// clamped; null otherwise.
FilterParameters* parametersOf(FilterRecord& record)
{
    void* data = hostHandleData(record.parameters, sizeof(FilterParameters));
    if (!data)
        return nullptr;
    FilterParameters* block = static_cast<FilterParameters*>(data);
    block->presetStore = nullptr;
    if (block->settingsLength > FilterSettingsCapacity)
        block->settingsLength = FilterSettingsCapacity;
    return block;
}

FilterParameters* newParameters(FilterRecord& record)
{
    FilterHandle handle = newHostHandle(sizeof(FilterParameters));
    if (!handle)
        return nullptr;
    record.parameters = handle;
    return static_cast<FilterParameters*>(static_cast<HostHandleMaster*>(handle)->data);
}

void readSettings(const FilterParameters* block, SessionSettingsStore& store)
{
    if (!block || block->settingsLength == 0)
        return;
    FixedBufferReader reader(block->settings, block->settingsLength);
    readIni(reader, store);
}

// The pixel format of the planes Start asked for: three (R,G,B) or four
// (R,G,B,A) interleaved from plane 0; 0 for anything else.
int formatOf(const FilterRecord& record)
{
    const int planes = record.inHiPlane - record.inLoPlane + 1;
    if (record.inLoPlane != 0 || record.outLoPlane != 0 || record.outHiPlane != record.inHiPlane)
        return 0;
    return planes == 3 ? 5 : planes == 4 ? 7 : 0;
}

HWND hostWindow(const FilterPlatformData* platform)
{
    return platform ? static_cast<HWND>(platform->hwnd) : nullptr;
}

// The host's pixels as images, when the record describes buffers that can
// hold the filter area; the area is empty when there is nothing to filter.
struct HostImages
{
    std::optional<Image> input;
    std::optional<Image> output;
    int width = 0;
    int height = 0;
    bool empty = false;
};

int16_t bindImages(FilterRecord& record, HostImages& images)
{
    const int format = formatOf(record);
    if (record.imageMode != FilterImageModeRgb || format == 0)
        return FilterResultBadMode;
    const int width = record.filterRect.right - record.filterRect.left;
    const int height = record.filterRect.bottom - record.filterRect.top;
    if (width <= 0 || height <= 0) {
        images.empty = true;
        return FilterResultOk;
    }
    const int rowBytes = width * (format == 5 ? 3 : 4);
    if (!record.inData || !record.outData || record.inRowBytes < rowBytes ||
        record.outRowBytes < rowBytes) {
        currentLogger()->error(0, "filter buffers cannot hold %dx%d pixels", width, height);
        return FilterResultBadParameters;
    }
    images.input.emplace(width, height, static_cast<uint8_t*>(record.inData),
                         uint32_t(record.inRowBytes), format);
    images.output.emplace(width, height, static_cast<uint8_t*>(record.outData),
                          uint32_t(record.outRowBytes), format);
    images.width = width;
    images.height = height;
    return FilterResultOk;
}

void runFilterDialog(FilterData& data, FilterRecord& record)
{
    data.result = FilterResultOk;
    HostImages images;
    data.result = bindImages(record, images);
    // Nothing to filter, nothing to preview: no dialog either.
    if (data.result != FilterResultOk || images.empty)
        return;
    FilterParameters* block = parametersOf(record);
    if (!block && !(block = newParameters(record))) {
        data.result = FilterResultOutOfMemory;
        return;
    }

    SessionSettingsStore working;
    readSettings(block, working);
    const HWND owner = hostWindow(static_cast<FilterPlatformData*>(record.platformData));
    if (editCurrentSetup(working, *images.input, owner, &record) != DialogOutcome::Applied) {
        data.result = FilterResultCancelled;
        return;
    }
    // Only "_current" goes back: the block holds the confirmed setup alone.
    SessionSettingsStore confirmed;
    confirmed.section("_current") = working.findSection("_current");
    if (!storeSettingsText(confirmed, block->settings, FilterSettingsCapacity, block->settingsLength))
        data.result = FilterResultFailed;
}

void renderFilterRecord(FilterData& data, FilterRecord& record)
{
    HostImages images;
    data.result = bindImages(record, images);
    if (data.result != FilterResultOk || images.empty)
        return;

    SessionSettingsStore working;
    readSettings(parametersOf(record), working);
    ComponentSet components(working.findSection("_current"));
    const size_t rowBytes = size_t(images.width) * images.input->step();
    for (int y = 0; y < images.height; ++y)
        std::memmove(images.output->row(y), images.input->row(y), rowBytes);

    HostProcs procs;
    procs.abortProc = record.abortProc;
    procs.progressProc = record.progressProc;
    HostRenderCallbacks callbacks(procs, &data.result);
    Canvas canvas = Canvas::whole(*images.input, *images.output);
    // The outcome reaches the host through data.result (1 after an abort).
    components.paint(canvas, callbacks);
}

void dispatch(int16_t selector, void* record, FilterData& data)
{
    if (selector == FilterSelectorAbout) {
        const FilterAboutRecord* about = static_cast<const FilterAboutRecord*>(record);
        runAboutBox(hostWindow(about ? about->platformData : nullptr));
        return;
    }
    if (selector < FilterSelectorParameters || selector > FilterSelectorFinish) {
        data.result = FilterResultBadParameters;
        return;
    }
    FilterRecord* filter = static_cast<FilterRecord*>(record);
    if (!filter) {
        data.result = FilterResultBadParameters;
        return;
    }
    switch (selector) {
    case FilterSelectorParameters:
        showDialog = true;
        break;
    case FilterSelectorPrepare:
        filter->bufferSpace = 0x10000;
        break;
    case FilterSelectorStart: {
        // At most four interleaved planes: colour and one alpha.
        const int planes = std::min<int>(std::max<int>(filter->planes, 1), 4);
        filter->inRect = filter->outRect = filter->filterRect;
        filter->inLoPlane = filter->outLoPlane = 0;
        filter->inHiPlane = filter->outHiPlane = int16_t(planes - 1);
        break;
    }
    case FilterSelectorContinue:
        if (showDialog) {
            showDialog = false;
            runFilterDialog(data, *filter);
        }
        if (data.result == FilterResultOk) {
            renderFilterRecord(data, *filter);
            setHostRect(filter->inRect, 0, 0, 0, 0);
            setHostRect(filter->outRect, 0, 0, 0, 0);
        }
        break;
    case FilterSelectorFinish:
        showDialog = false;
        parametersOf(*filter);
        break;
    }
}

} // namespace

void filterEntry(int16_t selector, void* record, intptr_t* data, int16_t* result)
{
    if (!result)
        return;
    if (!data) {
        *result = FilterResultBadParameters;
        return;
    }
    EntryGuard guard;
    if (!guard.entered()) {
        currentLogger()->error(0, "filter entry called while the plug-in is busy");
        *result = FilterResultFailed;
        return;
    }
    try {
        FilterData* block = filterDataFor(data);
        if (!block) {
            *result = FilterResultOutOfMemory;
        } else {
            block->filterRecord = static_cast<FilterRecord*>(record);
            block->result = FilterResultOk;
            dispatch(selector, record, *block);
            *result = block->result;
        }
    } catch (const Exception& e) {
        currentLogger()->exception(e);
        *result = FilterResultFailed;
    } catch (...) {
        currentLogger()->error(0, "unexpected exception in the filter entry");
        *result = FilterResultFailed;
    }
}
