#pragma once

#include "image/Image.h"

#include <cstdint>
#include <vector>

// An image over its own zeroed buffer, for feeding the field functions.
class FieldTestImage {
public:
    FieldTestImage(int width, int height, int format = 6)
        : step_(format == 6 ? 4 : 3),
          stride_((width * step_ + 3) & ~3u),
          data_(stride_ * height + 4, 0),
          image_(width, height, data_.data(), stride_, format)
    {
    }

    Image& image() { return image_; }
    operator const Image&() const { return image_; }

    void set(int x, int y, const Pixel& p) { image_.setPixel(x, y, p); }

    void fill(const Pixel& p)
    {
        for (int y = 0; y < image_.height(); ++y)
            for (int x = 0; x < image_.width(); ++x)
                image_.setPixel(x, y, p);
    }

    template <class F>
    void fillWith(F f)
    {
        for (int y = 0; y < image_.height(); ++y)
            for (int x = 0; x < image_.width(); ++x)
                image_.setPixel(x, y, f(x, y));
    }

private:
    unsigned step_;
    unsigned stride_;
    std::vector<uint8_t> data_;
    Image image_;
};
