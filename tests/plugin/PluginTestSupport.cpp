#include "PluginTestSupport.h"

#include <cstring>

#include "engine/ComponentSet.h"
#include "foundation/PropertyBag.h"

namespace plugintest {

PluginApi::PluginApi(const std::string& file) : path(file), module_(LoadLibraryA(file.c_str()))
{
    getInfo = exported<GetInfoProc>(module_, "getInfo");
    canProcess = exported<CanProcessProc>(module_, "canProcess");
    processImage = exported<ProcessImageProc>(module_, "processImage");
}

PluginApi::~PluginApi()
{
    if (module_)
        FreeLibrary(module_);
}

const PluginApi& plugin()
{
    static const PluginApi api(programFolder() + "Quillorantix_Daubcrafter.8bf");
    return api;
}

TestImage::TestImage(int w, int h, int f, int padding, uint8_t fill)
    : width(w), height(h), format(f), stride(0)
{
    stride = (w > 0 ? rowBytes() : 0) + padding;
    bytes.assign(size_t(stride) * size_t(h > 0 ? h : 0) + 1, fill);
}

namespace {

// Memory offsets of R, G, B, A for a format (A = -1 when absent).
void channelOffsets(int format, int out[4])
{
    const bool rgbOrder = format == 5 || format == 7;
    out[0] = rgbOrder ? 0 : 2;
    out[1] = 1;
    out[2] = rgbOrder ? 2 : 0;
    out[3] = format >= 6 ? 3 : -1;
}

} // namespace

void TestImage::setRgba(int x, int y, int r, int g, int b, int a)
{
    int off[4];
    channelOffsets(format, off);
    uint8_t* p = row(y) + x * bytesPerPixel();
    p[off[0]] = uint8_t(r);
    p[off[1]] = uint8_t(g);
    p[off[2]] = uint8_t(b);
    if (off[3] >= 0)
        p[off[3]] = uint8_t(a);
}

void TestImage::rgba(int x, int y, int out[4]) const
{
    int off[4];
    channelOffsets(format, off);
    const uint8_t* p = row(y) + x * bytesPerPixel();
    for (int i = 0; i < 4; ++i)
        out[i] = off[i] >= 0 ? p[off[i]] : 255;
}

int TestImage::countDifferentPixels(const TestImage& other) const
{
    int n = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int a[4], b[4];
            rgba(x, y, a);
            other.rgba(x, y, b);
            if (std::memcmp(a, b, sizeof a) != 0)
                ++n;
        }
    return n;
}

bool TestImage::paddingIs(uint8_t value) const
{
    for (int y = 0; y < height; ++y)
        for (int i = rowBytes(); i < stride; ++i)
            if (row(y)[i] != value)
                return false;
    return bytes.back() == value;
}

GuardedBytes::GuardedBytes(size_t size, bool atEnd) : base_(nullptr), data_(nullptr), size_(size)
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    const size_t page = info.dwPageSize;
    const size_t dataPages = (size + page - 1) / page;
    const size_t total = (dataPages + 1) * page;
    base_ = static_cast<uint8_t*>(VirtualAlloc(nullptr, total, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (!base_)
        return;
    DWORD old = 0;
    if (atEnd) {
        VirtualProtect(base_ + dataPages * page, page, PAGE_NOACCESS, &old);
        data_ = base_ + dataPages * page - size;
    } else {
        VirtualProtect(base_, page, PAGE_NOACCESS, &old);
        data_ = base_ + page;
    }
}

GuardedBytes::~GuardedBytes()
{
    if (base_)
        VirtualFree(base_, 0, MEM_RELEASE);
}

void drawScene(TestImage& image)
{
    const int w = image.width, h = image.height;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            // Gradients across and down, with a fine texture on blue.
            int r = w > 1 ? 255 * x / (w - 1) : 0;
            int g = h > 1 ? 255 * y / (h - 1) : 0;
            int b = 96 + (((x * 37 + y * 91) ^ (x * y)) & 63);
            // A disc and a diagonal band with hard edges.
            const int dx = x - w * 5 / 8, dy = y - h * 3 / 8;
            if (dx * dx + dy * dy < (w / 4) * (w / 4)) {
                r = 230;
                g = 200 - (x & 3) * 8;
                b = 40;
            } else if (x + y > w && x + y < w + w / 6) {
                r = 20;
                g = 30;
                b = 200;
            }
            image.setRgba(x, y, r, g, b, 255 - (y * 2 & 0x7f));
        }
}

bool __cdecl logProgress(void* context, float fraction)
{
    CallbackLog* log = static_cast<CallbackLog*>(context);
    if (!log)
        return true;
    log->fractions.push_back(fraction);
    return !(log->stopAtProgress > 0 && int(log->fractions.size()) >= log->stopAtProgress);
}

bool __cdecl logAbort(void* context)
{
    CallbackLog* log = static_cast<CallbackLog*>(context);
    if (!log)
        return false;
    ++log->abortPolls;
    return log->abortAtPoll > 0 && log->abortPolls >= log->abortAtPoll;
}

void __cdecl logNotify(void* context)
{
    CallbackLog* log = static_cast<CallbackLog*>(context);
    if (!log)
        return;
    if (++log->notifications == 1)
        log->progressCallsBeforeNotify = int(log->fractions.size());
}

SettingsBuffer::SettingsBuffer(const std::string& text, int spare)
    : bytes(text.begin(), text.end()), length(int(text.size()))
{
    bytes.resize(text.size() + size_t(spare), '#');
}

PluginRequest makeRequest(TestImage& source, TestImage& destination, SettingsBuffer* settings,
                          CallbackLog* log)
{
    PluginRequest r;
    std::memset(&r, 0, sizeof r);
    r.sourcePixels = source.bytes.data();
    r.destinationPixels = destination.bytes.data();
    r.sourceStride = source.stride;
    r.destinationStride = destination.stride;
    r.pixelFormat = source.format;
    r.width = source.width;
    r.height = source.height;
    if (settings) {
        r.settingsBuffer = settings->bytes.data();
        r.settingsCapacity = int32_t(settings->bytes.size());
        r.settingsLength = settings->length;
    }
    if (log) {
        r.callbackContext = log;
        r.progress = &logProgress;
        r.abortRequested = &logAbort;
        r.notify = &logNotify;
    }
    return r;
}

std::string iniSection(const std::string& name, const std::vector<std::string>& lines)
{
    std::string s = "[" + name + "]\r\n";
    for (const std::string& line : lines)
        s += line + "\r\n";
    return s;
}

namespace {

bool controlHeld()
{
    return true;
}

} // namespace

Preset defaultPreset(int brush, int stroke, int application, bool asConstructed)
{
    ComponentSet::setControlKeyQuery(&controlHeld);
    PropertyBag ids;
    if (asConstructed) {
        // Unknown ids keep every kind as constructed, nothing loaded.
        ids.setString("brush.id", "none");
        ids.setString("stroke.id", "none");
        ids.setString("application.id", "none");
    }
    ComponentSet set(ids);
    ComponentSet::setControlKeyQuery(nullptr);
    set.selectBrush(brush);
    set.selectStroke(stroke);
    set.selectApplication(application);
    PropertyBag saved;
    set.save(saved);
    Preset preset(saved.entries().begin(), saved.entries().end());
    preset.erase("lastedit");
    return preset;
}

std::string presetSection(const std::string& name, const Preset& preset)
{
    std::vector<std::string> lines;
    for (const auto& entry : preset)
        lines.push_back(entry.first + "=" + entry.second);
    return iniSection(name, lines);
}

} // namespace plugintest
