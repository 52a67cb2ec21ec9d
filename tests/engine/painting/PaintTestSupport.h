#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/Canvas.h"
#include "engine/ParamDescriptor.h"
#include "engine/brushes/Brush.h"
#include "foundation/Vec2.h"
#include "image/Image.h"

namespace painttest {

// A format-6 image whose pixel memory is surrounded by guard bytes: before
// the first row, after the last, and in the padding at the end of each row.
class GuardedImage {
public:
    enum { Guard = 64, Pad = 8 };
    static const uint8_t kGuard = 0xA5;

    GuardedImage(int width, int height)
        : buffer_(Guard * 2 + static_cast<size_t>(width * 4 + Pad) * height, kGuard),
          image(width, height, buffer_.data() + Guard, static_cast<uint32_t>(width * 4 + Pad), 6)
    {
        for (int y = 0; y < height; ++y)
            std::memset(image.row(y), 0, static_cast<size_t>(width) * 4);
    }

    bool guardsIntact() const
    {
        const size_t rowBytes = static_cast<size_t>(image.width()) * 4;
        const size_t stride = image.stride();
        for (size_t i = 0; i < buffer_.size(); ++i) {
            const bool inRow = i >= Guard && i < Guard + stride * image.height() &&
                               (i - Guard) % stride < rowBytes;
            if (!inRow && buffer_[i] != kGuard)
                return false;
        }
        return true;
    }

    void fill(const Pixel& p)
    {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, p);
    }
    Pixel at(int x, int y) const { return image.getPixel(x, y); }
    void set(int x, int y, const Pixel& p) { image.setPixel(x, y, p); }

private:
    std::vector<uint8_t> buffer_;

public:
    Image image;
};

inline Pixel rgb(int r, int g, int b, int a = 255)
{
    return Pixel(uint8_t(r), uint8_t(g), uint8_t(b), uint8_t(a));
}

struct Dab {
    Vec2 position;
    Vec2 direction;
    float t;
};

// Records every call a stroke makes; answers dabs from a script.
class RecordingBrush : public Brush {
public:
    RecordingBrush() : Brush(kEmptyTable, "recorder", "Recorder") {}

    bool dab(const Vec2& position, const Vec2& direction, float t) override
    {
        dabs.push_back(Dab{position, direction, t});
        const size_t n = dabs.size() - 1;
        return n < answers.size() ? answers[n] : defaultAnswer;
    }
    float meanSize() const override { return size; }
    float meanRadius() const override { return 0.5f; }
    float spacingScale() const override { return spacing; }
    float sizeAt(float t) const override
    {
        sizeQueries.push_back(t);
        return sizeFactor;
    }
    void prepare(int steps) override { preparedSteps.push_back(steps); }

    std::vector<Dab> dabs;
    std::vector<bool> answers;
    bool defaultAnswer = true;
    float size = 1.0f;
    float spacing = 1.0f;
    float sizeFactor = 1.0f;
    mutable std::vector<float> sizeQueries;
    std::vector<int> preparedSteps;

private:
    static const ParamDescriptor kEmptyTable[1];
};

inline const ParamDescriptor RecordingBrush::kEmptyTable[1] = {
    {0, 0, 0, 0, 0, "", "", 0, {}, 0, 0, 0, ""},
};

// A whole-image canvas over one picture used as reference and target.
inline Canvas canvasOver(Image& image)
{
    return Canvas::whole(image, image);
}

} // namespace painttest
