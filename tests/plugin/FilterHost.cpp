#include "FilterHost.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "PluginTestSupport.h"

namespace plugintest {

namespace {

FilterHost* activeHost = nullptr;

void hostProgress(int32_t done, int32_t total)
{
    if (!activeHost)
        return;
    FilterHostLog& log = activeHost->log;
    log.progress.emplace_back(done, total);
    if (log.nestedSelector >= 0) {
        const int16_t selector = int16_t(log.nestedSelector);
        log.nestedSelector = -1;
        activeHost->entry(selector, &activeHost->record, &activeHost->data, &log.nestedResult);
    }
}

uint8_t hostAbort()
{
    if (!activeHost)
        return 0;
    FilterHostLog& log = activeHost->log;
    ++log.abortPolls;
    return log.abortAtPoll > 0 && log.abortPolls >= log.abortAtPoll ? log.cancelAnswer
                                                                     : log.goOnAnswer;
}

// True when count bytes from p can be read, asked of the memory manager.
bool readableBytes(const void* p, size_t count)
{
    const char* at = static_cast<const char*>(p);
    const char* end = at + count;
    if (!at || end < at)
        return false;
    while (at < end) {
        MEMORY_BASIC_INFORMATION info;
        if (!VirtualQuery(at, &info, sizeof info) || info.State != MEM_COMMIT ||
            (info.Protect & (PAGE_NOACCESS | PAGE_GUARD)))
            return false;
        at = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
    }
    return true;
}

// Why a displayPixels call breaks the published rules; empty when it keeps
// them all.
std::string displayFault(const HostPixelMap& map, const HostPixelRect& area)
{
    const HostPixelRect& b = map.bounds;
    if (map.version < 0 || map.version > 2)
        return "version " + std::to_string(map.version);
    if (b.top < 0 || b.left < 0 || b.bottom <= b.top || b.right <= b.left || b.bottom > 65536 ||
        b.right > 65536)
        return "bounds " + std::to_string(b.top) + "," + std::to_string(b.left) + "," +
               std::to_string(b.bottom) + "," + std::to_string(b.right);
    if (map.colBytes != 3 && map.colBytes != 4)
        return "colBytes " + std::to_string(map.colBytes);
    if (map.planeBytes != 1)
        return "planeBytes " + std::to_string(map.planeBytes);
    const int64_t width = b.right - b.left, height = b.bottom - b.top;
    if (map.rowBytes < width * map.colBytes)
        return "rowBytes " + std::to_string(map.rowBytes);
    if (!readableBytes(map.baseAddr, size_t(map.rowBytes * height)))
        return "baseAddr not readable for the map";
    if (area.top < b.top || area.left < b.left || area.bottom > b.bottom || area.right > b.right ||
        area.bottom <= area.top || area.right <= area.left)
        return "source rectangle outside the bounds";
    return std::string();
}

// Draws the asked rectangle of the map as a 24-bit DIB, as hosts do.
void drawMap(const HostPixelMap& map, const HostPixelRect& area, int32_t row, int32_t column, HDC dc)
{
    const int width = area.right - area.left, height = area.bottom - area.top;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<uint8_t> bgr(size_t(stride) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t* s = static_cast<const uint8_t*>(map.baseAddr) +
                               size_t(area.top - map.bounds.top + y) * map.rowBytes +
                               size_t(area.left - map.bounds.left + x) * map.colBytes;
            uint8_t* d = &bgr[size_t(y) * stride + size_t(x) * 3];
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
        }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, column, row, DWORD(width), DWORD(height), 0, 0, 0, UINT(height), bgr.data(),
                      &info, DIB_RGB_COLORS);
}

int16_t hostDisplayPixels(const HostPixelMap* source, const HostPixelRect* area, int32_t row,
                          int32_t column, void* dc)
{
    if (!activeHost)
        return -1;
    FilterHostLog& log = activeHost->log;
    ++log.displayCalls;
    const std::string fault = !source || !area ? std::string("no map or rectangle")
                                               : displayFault(*source, *area);
    if (!fault.empty()) {
        if (log.badDisplayCalls++ == 0)
            log.firstBadDisplay = fault;
        return -1;
    }
    log.lastMap = *source;
    log.lastArea = *area;
    drawMap(*source, *area, row, column, static_cast<HDC>(dc));
    return 0;
}

bool isEmpty(const HostRect& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

} // namespace

namespace {

uint32_t code(const char (&c)[5])
{
    return uint32_t(uint8_t(c[0])) << 24 | uint32_t(uint8_t(c[1])) << 16 |
           uint32_t(uint8_t(c[2])) << 8 | uint32_t(uint8_t(c[3]));
}

uint32_t read32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Reads kind and entry name from the PiPL: int16 version, int32 reserved,
// int32 count, then properties {vendor, key, id, length, data}, each field
// little-endian and the data padded to its length.
bool readPipl(HMODULE module, FilterModule& m)
{
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(16000), "PIPL");
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const uint8_t* bytes = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
    const size_t size = found ? SizeofResource(module, found) : 0;
    if (!bytes || size < 10) {
        m.failure = "no PiPL resource";
        return false;
    }
    const uint32_t codeKey = sizeof(void*) == 8 ? code("8664") : code("wx86");
    const uint32_t count = read32(bytes + 6);
    size_t at = 10;
    for (uint32_t i = 0; i < count; ++i) {
        if (size - at < 16) {
            m.failure = "PiPL property header past the end";
            return false;
        }
        const uint32_t key = read32(bytes + at + 4);
        const uint32_t length = read32(bytes + at + 12);
        at += 16;
        if (length > size - at) {
            m.failure = "PiPL property data past the end";
            return false;
        }
        const uint8_t* data = bytes + at;
        if (key == code("kind") && length >= 4)
            m.isFilter = read32(data) == code("8BFM");
        else if (key == codeKey)
            m.entryName.assign(reinterpret_cast<const char*>(data),
                               strnlen(reinterpret_cast<const char*>(data), length));
        at += length;
    }
    if (!m.isFilter || m.entryName.empty()) {
        m.failure = "PiPL names no filter entry for this architecture";
        return false;
    }
    return true;
}

} // namespace

std::string programFolder()
{
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    const size_t slash = s.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : s.substr(0, slash + 1);
}

FilterModule loadFilterModule(const std::string& path)
{
    FilterModule m;
    m.path = path;
    m.module = LoadLibraryA(path.c_str());
    if (!m.module) {
        m.failure = "cannot load the module";
        return m;
    }
    if (!readPipl(m.module, m))
        return m;
    m.entry = exported<HostEntryProc>(m.module, m.entryName.c_str());
    if (!m.entry)
        m.failure = "no export " + m.entryName;
    return m;
}

FilterHost::FilterHost(HostEntryProc entryPoint, int w, int h, int p, int imageMode)
    : recordBytes_(sizeof(HostFilterRecord) + 512, 0), entry(entryPoint), width(w), height(h), planes(p),
      rowBytes(w * p + 3), input(size_t(rowBytes) * h + 16, 0xA5),
      output(size_t(rowBytes) * h + 16, 0x5A),
      record(*reinterpret_cast<HostFilterRecord*>(recordBytes_.data()))
{
    // Hosts number their records; the plug-in must not take it for a pointer.
    record.serialNumber = 0x4D2;
    record.abortProc = &hostAbort;
    record.progressProc = &hostProgress;
    record.planes = int16_t(p);
    record.imageSize[0] = int16_t(h);
    record.imageSize[1] = int16_t(w);
    record.filterRect = HostRect{0, 0, int16_t(h), int16_t(w)};
    record.imageMode = int16_t(imageMode);
    record.platformData = &platform;
    fillPicture(input, w, h, p, rowBytes);
}

FilterHost::~FilterHost()
{
    if (activeHost == this)
        activeHost = nullptr;
}

void FilterHost::deliverBuffers()
{
    // Rows of the asked area, starting at its first pixel; nothing when empty.
    const HostRect& in = record.inRect;
    record.inData = isEmpty(in) ? nullptr : &input[size_t(in.top) * rowBytes + size_t(in.left) * planes];
    record.inRowBytes = rowBytes;
    const HostRect& out = record.outRect;
    record.outData =
        isEmpty(out) ? nullptr : &output[size_t(out.top) * rowBytes + size_t(out.left) * planes];
    record.outRowBytes = rowBytes;
}

void FilterHost::offerDisplayPixels()
{
    record.displayPixels = &hostDisplayPixels;
}

int16_t FilterHost::call(int16_t selector)
{
    activeHost = this;
    int16_t result = 0x7777;
    entry(selector, &record, &data, &result);
    return result;
}

int16_t FilterHost::about(void* aboutRecord)
{
    activeHost = this;
    int16_t result = 0x7777;
    entry(HostSelectorAbout, aboutRecord, &data, &result);
    return result;
}

int16_t FilterHost::run(bool withParameters)
{
    int16_t result = 0;
    if (withParameters && (result = call(HostSelectorParameters)) != 0)
        return result;
    if ((result = call(HostSelectorPrepare)) != 0 || (result = call(HostSelectorStart)) != 0)
        return result;
    for (int i = 0; i < 8 && !(isEmpty(record.inRect) && isEmpty(record.outRect)); ++i) {
        deliverBuffers();
        if ((result = call(HostSelectorContinue)) != 0)
            return result;
    }
    return call(HostSelectorFinish);
}

namespace {

// A block for the next table slot to point at. On 64-bit Windows its address
// is chosen so that the pointer's low half reads as a size of 4096, too
// small for the settings; elsewhere any block will do.
void* otherBlock()
{
#if defined(_WIN64)
    for (uintptr_t base = uintptr_t(0x200000000); base <= uintptr_t(0x4000000000); base += 0x100000000) {
        void* at = VirtualAlloc(reinterpret_cast<void*>(base), 0x10000, MEM_RESERVE | MEM_COMMIT,
                                PAGE_READWRITE);
        if (at)
            return at;
    }
#endif
    return VirtualAlloc(nullptr, 0x10000, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void* otherPointer(void* block)
{
    return static_cast<char*>(block) + 0x1000;
}

} // namespace

HostParameters::HostParameters(Kind kind, const std::string& text) : kind_(kind)
{
    const size_t size = sizeof(HostSettingsBlock);
    switch (kind) {
    case MasterInHostHeap:
    case HandleSuiteRecord:
        heap_ = HeapCreate(0, 0, 0);
        block_ = static_cast<HostSettingsBlock*>(HeapAlloc(heap_, HEAP_ZERO_MEMORY, size));
        handle_ = HeapAlloc(heap_, HEAP_ZERO_MEMORY, sizeof(void*) + 4);
        break;
    case MasterInRuntimeHeap:
        block_ = static_cast<HostSettingsBlock*>(calloc(1, size));
        handle_ = calloc(1, sizeof(void*) + 4);
        break;
    case ReadOnlyMaster:
        block_ = static_cast<HostSettingsBlock*>(
            VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        handle_ = calloc(1, sizeof(void*) + 4);
        break;
    case MoveableGlobal: {
        // Handles are taken until the newest is followed by a free entry of
        // the memory manager's table (one never used, whose word is 0). The
        // ones given back serve the plug-in's allocations, so that entry
        // stays free.
        std::vector<HGLOBAL> taken;
        for (int i = 0; i < 16; ++i)
            taken.push_back(GlobalAlloc(GMEM_MOVEABLE, 16));
        for (int i = 0; i < 4096 && !global_; ++i) {
            HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
            if (!h)
                break;
            int32_t next = 0;
            std::memcpy(&next, static_cast<char*>(h) + sizeof(void*), sizeof next);
            if (next == 0)
                global_ = h;
            else
                taken.push_back(h);
        }
        for (HGLOBAL h : taken)
            GlobalFree(h);
        if (!global_)
            global_ = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
        block_ = static_cast<HostSettingsBlock*>(GlobalLock(global_));
        GlobalUnlock(global_);
        handle_ = global_;
        break;
    }
    case TableNextNull:
    case TableNextPointer:
        heap_ = HeapCreate(0, 0, 0);
        block_ = static_cast<HostSettingsBlock*>(HeapAlloc(heap_, HEAP_ZERO_MEMORY, size));
        handle_ = HeapAlloc(heap_, HEAP_ZERO_MEMORY, 8 * sizeof(void*));
        if (kind == TableNextPointer) {
            other_ = otherBlock();
            void* next = otherPointer(other_);
            std::memcpy(static_cast<char*>(handle_) + sizeof(void*), &next, sizeof next);
        }
        break;
    }
    std::memcpy(block_->settings, text.data(), std::min(text.size(), sizeof block_->settings));
    block_->settingsLength = uint32_t(text.size());
    // The memory manager keeps a moveable handle's first word itself.
    if (kind == MoveableGlobal)
        return;
    std::memcpy(handle_, &block_, sizeof block_);
    if (kind == TableNextNull || kind == TableNextPointer)
        return;
    char* tag = static_cast<char*>(handle_) + sizeof(void*);
    if (kind == HandleSuiteRecord) {
        const int32_t recorded = int32_t(size);
        std::memcpy(tag, &recorded, sizeof recorded);
    } else {
        std::memcpy(tag, "OTOF", 4);
    }
    DWORD old = 0;
    if (kind == ReadOnlyMaster)
        VirtualProtect(block_, size, PAGE_READONLY, &old);
}

HostParameters::~HostParameters()
{
    switch (kind_) {
    case MasterInHostHeap:
    case HandleSuiteRecord:
    case TableNextNull:
    case TableNextPointer:
        HeapDestroy(heap_);
        if (other_)
            VirtualFree(other_, 0, MEM_RELEASE);
        break;
    case MasterInRuntimeHeap:
        free(block_);
        free(handle_);
        break;
    case ReadOnlyMaster:
        VirtualFree(block_, 0, MEM_RELEASE);
        free(handle_);
        break;
    case MoveableGlobal:
        GlobalFree(global_);
        break;
    }
}

int32_t HostParameters::wordAfterPointer() const
{
    int32_t word = 0;
    std::memcpy(&word, static_cast<const char*>(handle_) + sizeof(void*), sizeof word);
    return word;
}

HostSettingsBlock* settingsBehind(void* handle)
{
    return handle ? *static_cast<HostSettingsBlock**>(handle) : nullptr;
}

void fillPicture(std::vector<uint8_t>& pixels, int w, int h, int planes, int rowBytes)
{
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &pixels[size_t(y) * rowBytes + size_t(x) * planes];
            int rgb[3] = {w > 1 ? 255 * x / (w - 1) : 0, h > 1 ? 255 * y / (h - 1) : 0,
                          96 + (((x * 37 + y * 91) ^ (x * y)) & 63)};
            const int dx = x - w * 5 / 8, dy = y - h * 3 / 8;
            if (dx * dx + dy * dy < (w / 4) * (w / 4)) {
                rgb[0] = 230;
                rgb[1] = 200 - (x & 3) * 8;
                rgb[2] = 40;
            } else if (x + y > w && x + y < w + w / 6) {
                rgb[0] = 20;
                rgb[1] = 30;
                rgb[2] = 200;
            }
            for (int c = 0; c < planes; ++c)
                p[c] = uint8_t(c < 3 ? rgb[c] : 255 - (y * 2 & 0x7f));
        }
}

} // namespace plugintest
