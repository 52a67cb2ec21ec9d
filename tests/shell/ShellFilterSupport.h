#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/DefaultRenderCallbacks.h"
#include "image/OwnedBitmap.h"

namespace shelltest {

// Records every progress report; answers false from report number stopAt
// (1-based) on.
class RecordingCallbacks : public DefaultRenderCallbacks
{
public:
    explicit RecordingCallbacks(int stopAt = 0) : DefaultRenderCallbacks(&flag_), stopAt_(stopAt) {}
    bool progress(float fraction) override
    {
        reports.push_back(fraction);
        return stopAt_ <= 0 || int(reports.size()) < stopAt_;
    }
    std::vector<float> reports;

private:
    bool flag_ = false;
    int stopAt_;
};

// Deterministic bytes with edges and texture.
inline void fillPattern(Image& image, unsigned seed)
{
    unsigned s = seed * 2654435761u + 1;
    for (int y = 0; y < image.height(); ++y) {
        uint8_t* row = image.row(y);
        for (uint32_t i = 0; i < uint32_t(image.width()) * image.step(); ++i) {
            s = s * 1103515245u + 12345u;
            const int x = int(i / image.step());
            row[i] = ((x / 7 + y / 5) & 1) ? uint8_t(s >> 24) : uint8_t(x * 9 + y * 3 + i % 5 * 40);
        }
    }
}

inline void fillUniform(Image& image, uint8_t value)
{
    for (int y = 0; y < image.height(); ++y)
        std::memset(image.row(y), value, size_t(image.width()) * image.step());
}

// Every pixel byte, row by row, without padding.
inline std::vector<uint8_t> bytesOf(const Image& image)
{
    std::vector<uint8_t> out;
    for (int y = 0; y < image.height(); ++y)
        out.insert(out.end(), image.row(y), image.row(y) + size_t(image.width()) * image.step());
    return out;
}

inline bool sameBytes(const Image& a, const Image& b)
{
    return a.width() == b.width() && a.height() == b.height() && a.step() == b.step()
        && bytesOf(a) == bytesOf(b);
}

} // namespace shelltest
