#include "plugin/FilterEntry.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string>

#include "engine/Canvas.h"
#include "engine/ComponentSet.h"
#include "engine/HostRenderCallbacks.h"
#include "foundation/Exception.h"
#include "foundation/FixedBufferReader.h"
#include "foundation/IniText.h"
#include "foundation/Logger.h"
#include "foundation/SessionSettingsStore.h"
#include "image/Image.h"
#include "image/OwnedBitmap.h"
#include "image/PixelFormat.h"
#include "plugin/DialogSeams.h"
#include "plugin/EntryGuard.h"
#include "plugin/FilterBlocks.h"
#include "plugin/HostHandle.h"
#include "plugin/HostMemory.h"
#include "plugin/HostPixels.h"
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

const size_t kSettingsEnd = offsetof(FilterParameters, settingsLength) + sizeof(uint32_t);

// The settings block behind the record's handle, wherever the host keeps it;
// empty unless text and length can be read. Hosts hand back blocks of their
// own on a repeat run: a copy of ours in their heap, or a handle of theirs.
HostBlock parametersOf(const FilterRecord& record)
{
    HostBlock block = hostBlockOf(record.parameters, kSettingsEnd, sizeof(FilterParameters));
    return block.size >= kSettingsEnd ? block : HostBlock();
}

// Reads the block's text into the store. The text is copied out first and
// the block never written: it may be read-only host memory.
void readSettings(const HostBlock& block, SessionSettingsStore& store)
{
    if (!block.data)
        return;
    const FilterParameters* parameters = static_cast<const FilterParameters*>(block.data);
    const uint32_t length = std::min<uint32_t>(parameters->settingsLength, FilterSettingsCapacity);
    if (length == 0)
        return;
    const std::string text(parameters->settings, length);
    FixedBufferReader reader(text.data(), unsigned(text.size()));
    readIni(reader, store);
}

// A new, zeroed block of ours in the record.
FilterParameters* newParameters(FilterRecord& record)
{
    FilterHandle handle = newHostHandle(sizeof(FilterParameters));
    if (!handle)
        return nullptr;
    record.parameters = handle;
    return static_cast<FilterParameters*>(static_cast<HostHandleMaster*>(handle)->data);
}

// The host's window behind a platformData pointer; null when the pointer
// leads to no readable memory or the handle found there is no window (the
// About selector may be given a filter record instead of an about record).
HWND hostWindow(const void* platformData)
{
    HWND window = nullptr;
    if (!platformData || !hostMemoryReadable(platformData, sizeof window))
        return nullptr;
    std::memcpy(&window, platformData, sizeof window);
    return window && IsWindow(window) ? window : nullptr;
}

HWND aboutOwner(const void* aboutRecord)
{
    const void* platformData = nullptr;
    if (!aboutRecord || !hostMemoryReadable(aboutRecord, sizeof platformData))
        return nullptr;
    std::memcpy(&platformData, aboutRecord, sizeof platformData);
    return hostWindow(platformData);
}

// A copy of the picture in R,G,B,A for the dialog, whose preview takes
// three or four channels: one plane shows as grey, five lose the extra one.
bool previewCopy(const Image& source, OwnedBitmap& copy)
{
    if (!copy.create(source.width(), source.height(), kFormatRgba))
        return false;
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            copy.setPixel(x, y, source.getPixel(x, y));
    return true;
}

// Planes a render takes: colour, then up to two more (extra and alpha).
int planesTaken(int planes)
{
    return std::min(std::max(planes, 1), 5);
}

// The pixel format of the planes Start asked for, interleaved from plane 0:
// one plane (read as grey); R,G,B; R,G,B,A; R,G,B,extra,A. 0 for anything
// else.
int formatOf(const FilterRecord& record)
{
    const int planes = record.inHiPlane - record.inLoPlane + 1;
    if (record.inLoPlane != 0 || record.outLoPlane != 0 || record.outHiPlane != record.inHiPlane)
        return 0;
    switch (planes) {
    case 1: return kFormatGrey;
    case 3: return kFormatRgb;
    case 4: return kFormatRgba;
    case 5: return kFormatRgbxa;
    default: return 0;
    }
}

int rectWidth(const FilterRect& r)
{
    return r.right - r.left;
}

int rectHeight(const FilterRect& r)
{
    return r.bottom - r.top;
}

// The host's pixels of the asked rectangles as images. Hosts may change
// filterRect after Start, so only the rectangles the plug-in asked for (and
// their buffers) are used; empty when there is nothing (more) to filter.
struct HostImages
{
    std::optional<HostPixels> input;
    std::optional<HostPixels> output;
    int format = 0;
    bool empty = false;
};

int16_t bindImages(const FilterRecord& record, HostImages& images)
{
    const int format = formatOf(record);
    if (record.imageMode != FilterImageModeRgb || format == 0)
        return FilterResultBadMode;
    const int width = std::min(rectWidth(record.inRect), rectWidth(record.outRect));
    const int height = std::min(rectHeight(record.inRect), rectHeight(record.outRect));
    if (width <= 0 || height <= 0) {
        images.empty = true;
        return FilterResultOk;
    }
    const int step = bytesPerPixelFor(format);
    if (!record.inData || !record.outData || !HostPixels::strideHolds(record.inRowBytes, width, step) ||
        !HostPixels::strideHolds(record.outRowBytes, width, step) ||
        !HostPixels::rowsAccessible(static_cast<const uint8_t*>(record.inData), record.inRowBytes, width,
                                    height, step, false) ||
        !HostPixels::rowsAccessible(static_cast<const uint8_t*>(record.outData), record.outRowBytes,
                                    width, height, step, true)) {
        currentLogger()->error(0, "filter buffers cannot hold %dx%d pixels", width, height);
        return FilterResultBadParameters;
    }
    images.format = format;
    images.input.emplace(static_cast<uint8_t*>(record.inData), record.inRowBytes, width, height, format);
    images.output.emplace(static_cast<uint8_t*>(record.outData), record.outRowBytes, width, height,
                          format);
    images.input->load();
    return FilterResultOk;
}

// The settings dialog over the asked input; on Apply the block holds the
// confirmed "_current" alone. A host's own block is used when it can be
// written; a new block of ours takes its place only when it cannot.
void runFilterDialog(FilterData& data, FilterRecord& record)
{
    data.result = FilterResultOk;
    HostImages images;
    data.result = bindImages(record, images);
    // Nothing to filter, nothing to preview: no dialog either.
    if (data.result != FilterResultOk || images.empty)
        return;
    HostBlock block = parametersOf(record);
    if (!block.data) {
        FilterParameters* made = newParameters(record);
        if (!made) {
            data.result = FilterResultOutOfMemory;
            return;
        }
        block.data = made;
        block.size = sizeof(FilterParameters);
        block.writable = true;
    }

    SessionSettingsStore working;
    readSettings(block, working);
    const Image* source = &images.input->image();
    OwnedBitmap rgba;
    if (images.format == kFormatGrey || images.format == kFormatRgbxa) {
        if (!previewCopy(*source, rgba)) {
            data.result = FilterResultOutOfMemory;
            return;
        }
        source = &rgba;
    }
    // The block gets the confirmed setup alone, made afresh: keys of the
    // stored "_current" that no component reads are not carried on, so
    // they can never outgrow the block.
    SessionSettingsStore confirmed;
    if (editCurrentSetup(working, *source, hostWindow(record.platformData), &record, &confirmed) !=
        DialogOutcome::Applied) {
        data.result = FilterResultCancelled;
        return;
    }
    FilterParameters* target = static_cast<FilterParameters*>(block.data);
    if (!block.writable || block.size < kSettingsEnd) {
        currentLogger()->event("host settings block cannot be written; keeping the setup in a new one");
        if (!(target = newParameters(record))) {
            data.result = FilterResultOutOfMemory;
            return;
        }
    }
    uint32_t length = 0;
    if (!storeSettingsText(confirmed, target->settings, FilterSettingsCapacity, length)) {
        data.result = FilterResultFailed;
        return;
    }
    target->settingsLength = length;
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
    Image& input = images.input->image();
    Image& output = images.output->image();
    const size_t rowBytes = size_t(input.width()) * input.step();
    for (int y = 0; y < input.height(); ++y)
        std::memmove(output.row(y), input.row(y), rowBytes);

    HostProcs procs;
    procs.abortProc = record.abortProc;
    procs.progressProc = record.progressProc;
    HostRenderCallbacks callbacks(procs, &data.result);
    Canvas canvas = Canvas::whole(input, output);
    // The outcome reaches the host through data.result (1 after an abort).
    components.paint(canvas, callbacks);
    images.output->commit();
}

void dispatch(int16_t selector, void* record, FilterData& data)
{
    if (selector == FilterSelectorAbout) {
        runAboutBox(aboutOwner(record));
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
        const int planes = planesTaken(filter->planes);
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
        // The preset store is opened and closed around each dialog, so the
        // block holds nothing to release.
        showDialog = false;
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
