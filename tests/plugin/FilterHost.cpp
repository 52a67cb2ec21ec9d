#include "FilterHost.h"

#include <cstring>

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

int16_t hostDisplayPixels(const FilterPixelMap* source, const FilterRect* area, int32_t, int32_t, void*)
{
    if (!activeHost || !source || !area)
        return -1;
    FilterHostLog& log = activeHost->log;
    ++log.displayCalls;
    log.lastMap = *source;
    log.lastArea = *area;
    return 0;
}

bool isEmpty(const FilterRect& r)
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
    m.entry = reinterpret_cast<FilterEntryProc>(
        reinterpret_cast<void*>(GetProcAddress(m.module, m.entryName.c_str())));
    if (!m.entry)
        m.failure = "no export " + m.entryName;
    return m;
}

FilterHost::FilterHost(FilterEntryProc entryPoint, int w, int h, int p, int imageMode)
    : recordBytes_(sizeof(FilterRecord) + 512, 0), entry(entryPoint), width(w), height(h), planes(p),
      rowBytes(w * p + 3), input(size_t(rowBytes) * h + 16, 0xA5),
      output(size_t(rowBytes) * h + 16, 0x5A),
      record(*reinterpret_cast<FilterRecord*>(recordBytes_.data()))
{
    record.abortProc = &hostAbort;
    record.progressProc = &hostProgress;
    record.planes = int16_t(p);
    record.filterRect = FilterRect{0, 0, int16_t(h), int16_t(w)};
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
    const FilterRect& in = record.inRect;
    record.inData = isEmpty(in) ? nullptr : &input[size_t(in.top) * rowBytes + size_t(in.left) * planes];
    record.inRowBytes = rowBytes;
    const FilterRect& out = record.outRect;
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

int16_t FilterHost::about(FilterAboutRecord* aboutRecord)
{
    activeHost = this;
    int16_t result = 0x7777;
    entry(FilterSelectorAbout, aboutRecord, &data, &result);
    return result;
}

int16_t FilterHost::run(bool withParameters)
{
    int16_t result = 0;
    if (withParameters && (result = call(FilterSelectorParameters)) != 0)
        return result;
    if ((result = call(FilterSelectorPrepare)) != 0 || (result = call(FilterSelectorStart)) != 0)
        return result;
    for (int i = 0; i < 8 && !(isEmpty(record.inRect) && isEmpty(record.outRect)); ++i) {
        deliverBuffers();
        if ((result = call(FilterSelectorContinue)) != 0)
            return result;
    }
    return call(FilterSelectorFinish);
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
