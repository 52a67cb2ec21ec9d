// The shell plug-in interface: getInfo, canProcess and processImage.
// No C++ exception may leave these functions: with this toolchain an
// exception thrown inside a statically linked DLL ends the calling process.
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "engine/Canvas.h"
#include "engine/ComponentSet.h"
#include "foundation/FixedBufferReader.h"
#include "foundation/IniText.h"
#include "foundation/Logger.h"
#include "foundation/SessionSettingsStore.h"
#include "image/Image.h"
#include "plugin/EntryGuard.h"
#include "plugin/HostMemory.h"
#include "plugin/HostPixels.h"
#include "plugin/PluginRecords.h"
#include "plugin/SettingsDialog.h"
#include "plugin/SettingsText.h"
#include "plugin/ShellRenderCallbacks.h"

#define PLUGIN_EXPORT extern "C" __declspec(dllexport)

namespace {

const char kVendor[] = "Quillorantix";
const char kCategory[] = "paint effects";
const char kId[] = "quillorantix_daubcrafter_1.1.2.0";
const char kMenuName[] = "Daubcrafter...";
const char kAbout[] = "Daubcrafter\nPainterly strokes from the picture's own directions.";

bool formatAccepted(int32_t format)
{
    return format >= kFormatBgr && format <= kFormatRgba;
}

int bytesPerPixel(int32_t format)
{
    return format == kFormatBgr || format == kFormatRgb ? 3 : 4;
}

// A request whose buffers cannot hold the image it describes is refused
// rather than read or written out of bounds. Strides may be negative (rows
// of a bottom-up buffer); a settings size below zero is no size at all.
bool requestUsable(const PluginRequest& r)
{
    if (!formatAccepted(r.pixelFormat) || r.width <= 0 || r.height <= 0)
        return false;
    if (!r.sourcePixels || !r.destinationPixels)
        return false;
    const int step = bytesPerPixel(r.pixelFormat);
    if (!HostPixels::strideHolds(r.sourceStride, r.width, step) ||
        !HostPixels::strideHolds(r.destinationStride, r.width, step))
        return false;
    if (!HostPixels::rowsAccessible(r.sourcePixels, r.sourceStride, r.width, r.height, step, false) ||
        !HostPixels::rowsAccessible(r.destinationPixels, r.destinationStride, r.width, r.height, step,
                                    true))
        return false;
    if (r.settingsCapacity < 0 || r.settingsLength < 0)
        return false;
    // The text read is the length, cut to the capacity: it must be there.
    const int textBytes = std::min(r.settingsLength, r.settingsCapacity);
    return textBytes == 0 || hostMemoryReadable(r.settingsBuffer, size_t(textBytes));
}

// The dialog over the source; on Apply the whole working text, the caller's
// other sections with the new "_current", goes back into the caller's buffer.
// Buffer and length change only when that text fits.
bool confirmSettings(PluginRequest& request, const Image& source, SessionSettingsStore& working)
{
    // Window handles fit 32 bits and widen with their sign on 64-bit Windows.
    const HWND owner = reinterpret_cast<HWND>(intptr_t(int32_t(request.parentWindow)));
    if (editCurrentSetup(working, source, owner) != DialogOutcome::Applied)
        return false;
    // A capacity past what the buffer lets us write is the host's mistake:
    // the text goes back only when it fits the memory that is really there.
    const uint32_t room =
        uint32_t(hostWritableBytes(request.settingsBuffer, size_t(request.settingsCapacity)));
    uint32_t length = 0;
    if (!storeSettingsText(working, request.settingsBuffer, room, length))
        return false;
    request.settingsLength = int32_t(length);
    return true;
}

bool runProcessImage(PluginRequest& request)
{
    if (!requestUsable(request))
        return false;
    HostPixels sourceRows(request.sourcePixels, request.sourceStride, request.width, request.height,
                          request.pixelFormat);
    HostPixels destinationRows(request.destinationPixels, request.destinationStride, request.width,
                               request.height, request.pixelFormat);
    sourceRows.load();
    Image& source = sourceRows.image();
    Image& destination = destinationRows.image();
    Canvas canvas = Canvas::whole(source, destination);

    SessionSettingsStore working;
    // Never past the buffer's own size, whatever the length claims.
    const int length = std::min(request.settingsLength, request.settingsCapacity);
    if (length > 0) {
        FixedBufferReader reader(request.settingsBuffer, unsigned(length));
        readIni(reader, working);
    }

    if ((request.flags & PluginRequestInteractive) && !confirmSettings(request, source, working))
        return false;

    ComponentSet components(working.findSection("_current"));
    // Same size and format on both sides: the copy is row by row.
    const size_t rowBytes = size_t(request.width) * bytesPerPixel(request.pixelFormat);
    for (int y = 0; y < request.height; ++y)
        std::memmove(destination.row(y), source.row(y), rowBytes);
    ShellRenderCallbacks callbacks(request);
    const bool painted = components.paint(canvas, callbacks);
    destinationRows.commit();
    return painted;
}

} // namespace

PLUGIN_EXPORT bool __cdecl getInfo(PluginInfo* info)
{
    if (!info)
        return false;
    // Field order matters: the id fills its 32 bytes and its terminator is
    // overwritten by the menu name that follows. Written through the record's
    // bytes, since the id's terminator lies beyond its own field.
    char* record = reinterpret_cast<char*>(info);
    std::memcpy(record + offsetof(PluginInfo, vendor), kVendor, sizeof kVendor);
    std::memcpy(record + offsetof(PluginInfo, category), kCategory, sizeof kCategory);
    std::memcpy(record + offsetof(PluginInfo, id), kId, sizeof kId);
    std::memcpy(record + offsetof(PluginInfo, menuName), kMenuName, sizeof kMenuName);
    std::memcpy(record + offsetof(PluginInfo, about), kAbout, sizeof kAbout);
    return true;
}

PLUGIN_EXPORT bool __cdecl canProcess(int32_t pixelFormat, int32_t, int32_t)
{
    return formatAccepted(pixelFormat);
}

PLUGIN_EXPORT bool __cdecl processImage(PluginRequest* request)
{
    if (!request)
        return false;
    EntryGuard guard;
    if (!guard.entered()) {
        currentLogger()->error(0, "processImage called while the plug-in is busy");
        return false;
    }
    try {
        return runProcessImage(*request);
    } catch (...) {
        return false;
    }
}
