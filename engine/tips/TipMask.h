#pragma once

#include <cstdint>
#include <vector>

// An 8-bit single-channel grid, row-major, row length = width.
class TipMask {
public:
    TipMask();
    virtual ~TipMask();

    // Frees the old bytes and allocates width x height zero bytes (a negative
    // size counts as 0).
    void resize(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    int channels() const { return channels_; }

    uint8_t* bytes() { return bytes_.data(); }
    const uint8_t* bytes() const { return bytes_.data(); }
    uint8_t& pixelAt(int x, int y) { return bytes_[static_cast<size_t>(width_) * y + x]; }
    uint8_t pixelAt(int x, int y) const { return bytes_[static_cast<size_t>(width_) * y + x]; }

    // Side of a square mask for a radius: ceil(2 * radius), 0 when that is
    // below one pixel (or not a number), capped at 2048 so a wild radius
    // cannot ask for gigabytes.
    static int sizeForRadius(float radius);

    // Sum of all bytes.
    uint64_t sum() const;

    // Bilinear sample with byte weights; reads clamp to the edge cells.
    uint8_t sample(float x, float y) const;
    // count samples from (x, y) stepping (dx, dy), written through the cursor.
    void sampleSpan(float x, float y, float dx, float dy, int count, uint8_t*& cursor) const;

private:
    uint8_t cell(int x, int y) const;

    int width_;
    int height_;
    int channels_;
    std::vector<uint8_t> bytes_;
};
