#include "shell/host/PluginModule.h"

#include <algorithm>
#include <cstring>

#include "engine/RenderCallbacks.h"
#include "foundation/Exception.h"
#include "image/Image.h"
#include "shell/host/FloatingPointState.h"

namespace {

// What the callbacks of one run reach: the sink, and the floating-point
// state the host code behind it expects.
struct CallContext
{
    RenderCallbacks* sink;
    FloatingPointState host;
};

// Inside a callback: the host's floating-point state for the host's code,
// the plug-in's own again when the callback returns.
class HostFloatingPoint
{
public:
    explicit HostFloatingPoint(const FloatingPointState& host)
        : plugin_(FloatingPointState::current())
    {
        host.restore();
    }
    ~HostFloatingPoint() { plugin_.restore(); }
    HostFloatingPoint(const HostFloatingPoint&) = delete;
    HostFloatingPoint& operator=(const HostFloatingPoint&) = delete;

private:
    FloatingPointState plugin_;
};

// NaN and values below 0 give 0, values above 1 give 1.
float clampFraction(float fraction)
{
    if (!(fraction >= 0.0f))
        return 0.0f;
    return fraction > 1.0f ? 1.0f : fraction;
}

// No exception may unwind through the plug-in's frames: the thunks catch
// everything and answer "stop".
bool __cdecl pluginProgressThunk(void* context, float fraction)
{
    CallContext* call = static_cast<CallContext*>(context);
    if (!call || !call->sink)
        return true;
    HostFloatingPoint fp(call->host);
    try {
        return call->sink->progress(clampFraction(fraction));
    } catch (...) {
        return false;
    }
}

bool __cdecl pluginAbortThunk(void* context)
{
    CallContext* call = static_cast<CallContext*>(context);
    if (!call || !call->sink)
        return false;
    HostFloatingPoint fp(call->host);
    try {
        return call->sink->isCancelled();
    } catch (...) {
        return true;
    }
}

void __cdecl pluginNotifyThunk(void* context)
{
    CallContext* call = static_cast<CallContext*>(context);
    if (!call || !call->sink)
        return;
    HostFloatingPoint fp(call->host);
    try {
        call->sink->finished();
    } catch (...) {
    }
}

// GetProcAddress gives a generic pointer; the entry's type is known.
template <class Entry>
Entry entryPoint(HMODULE library, const char* name)
{
    return reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// A missing dependency of a plug-in must not stop start-up with a system
// dialog; the load just fails.
HMODULE loadQuietly(const String& path)
{
    const UINT quiet = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;
    const UINT previous = SetErrorMode(quiet);
    SetErrorMode(previous | quiet);
    HMODULE library;
    {
        // The library's start-up code runs inside LoadLibrary.
        FloatingPointGuard fp;
        library = LoadLibraryA(path.c_str());
    }
    SetErrorMode(previous);
    return library;
}

void terminateField(char* field, size_t size)
{
    field[size - 1] = 0;
}

} // namespace

PluginModule::PluginModule(const String& path, int commandId)
    : ImageFilter(true), settings_(size_t(kSettingsCapacity), 0), library_(nullptr),
      processImage_(nullptr), canProcess_(nullptr), getInfo_(nullptr), commandId_(commandId),
      path_(path), parentWindow_(nullptr)
{
    std::memset(&info_, 0, sizeof info_);
    std::memset(&request_, 0, sizeof request_);
    request_.settingsCapacity = kSettingsCapacity;
    request_.settingsBuffer = settings_.data();
    request_.settingsLength = 0;
    request_.progress = &pluginProgressThunk;
    request_.abortRequested = &pluginAbortThunk;
    request_.notify = &pluginNotifyThunk;

    library_ = loadQuietly(path);
    if (!library_)
        throw Exception(kRuntimeException);
    processImage_ = entryPoint<ProcessImageEntry>(library_, "processImage");
    canProcess_ = entryPoint<CanProcessEntry>(library_, "canProcess");
    getInfo_ = entryPoint<GetInfoEntry>(library_, "getInfo");
    if (!processImage_ || !canProcess_ || !getInfo_) {
        unload();
        throw Exception(kRuntimeException);
    }
    {
        FloatingPointGuard fp;
        getInfo_(&info_);
    }
    terminateField(info_.id, sizeof info_.id);
    terminateField(info_.menuName, sizeof info_.menuName);
    terminateField(info_.vendor, sizeof info_.vendor);
    terminateField(info_.category, sizeof info_.category);
    terminateField(info_.about, sizeof info_.about);
    OutputDebugStringA(info_.id);
    OutputDebugStringA(info_.menuName);
    OutputDebugStringA(info_.vendor);
    OutputDebugStringA(info_.category);
    OutputDebugStringA(info_.about);
    OutputDebugStringA("created");
}

PluginModule::~PluginModule()
{
    unload();
}

void PluginModule::unload()
{
    if (library_) {
        FloatingPointGuard fp;
        FreeLibrary(library_);
    }
    library_ = nullptr;
    processImage_ = nullptr;
    canProcess_ = nullptr;
    getInfo_ = nullptr;
}

bool PluginModule::accepts(const Image& image)
{
    if (!library_ || !canProcess_)
        return false;
    FloatingPointGuard fp;
    return canProcess_(image.format(), image.width(), image.height()) != 0;
}

bool PluginModule::apply(const Image& source, Image& destination, RenderCallbacks& sink)
{
    if (!processImage_)
        return false;
    if (source.width() != destination.width() || source.height() != destination.height() ||
        source.format() != destination.format())
        return false;
    if (source.isEmpty() || destination.isEmpty())
        return false;

    CallContext context = {&sink, FloatingPointState::current()};
    request_.reserved = 0;
    request_.flags = PluginRequestInteractive;
    // Window handles keep their meaning in 32 bits on 64-bit Windows.
    request_.parentWindow = IsWindow(parentWindow_) ? uint32_t(uintptr_t(parentWindow_)) : 0;
    request_.sourcePixels = source.row(0);
    request_.destinationPixels = destination.row(0);
    request_.sourceStride = int32_t(source.stride());
    request_.destinationStride = int32_t(destination.stride());
    request_.pixelFormat = source.format();
    request_.width = source.width();
    request_.height = source.height();
    // Whatever a previous run did to them, the buffer fields describe ours.
    request_.settingsCapacity = kSettingsCapacity;
    request_.settingsBuffer = settings_.data();
    request_.callbackContext = &context;
    request_.progress = &pluginProgressThunk;
    request_.abortRequested = &pluginAbortThunk;
    request_.notify = &pluginNotifyThunk;

    const std::vector<char> savedSettings(settings_);
    const int32_t savedLength = request_.settingsLength;
    uint8_t result;
    {
        FloatingPointGuard fp;
        result = processImage_(&request_);
    }
    request_.callbackContext = nullptr;
    const bool ok = result != 0;
    const bool settingsKept = request_.settingsBuffer == settings_.data() &&
                              request_.settingsCapacity == kSettingsCapacity &&
                              request_.settingsLength >= 0 &&
                              request_.settingsLength <= kSettingsCapacity;
    // Whatever the plug-in left in the buffer is its text for the next run,
    // failed or not (a cancelled dialog writes nothing); only fields it broke
    // put the old text back.
    if (!settingsKept) {
        std::copy(savedSettings.begin(), savedSettings.end(), settings_.begin());
        request_.settingsLength = savedLength;
    }
    request_.settingsBuffer = settings_.data();
    request_.settingsCapacity = kSettingsCapacity;
    return ok;
}

String PluginModule::settingsText() const
{
    const int32_t length = std::min(std::max(request_.settingsLength, int32_t(0)), kSettingsCapacity);
    return String(settings_.data(), size_t(length));
}
