#include "bench/Scene.h"

#include <cmath>

#include "image/OwnedBitmap.h"
#include "image/codecs/PngCodec.h"

namespace {

uint8_t clampByte(double v)
{
    return v < 0 ? 0 : v > 255 ? 255 : uint8_t(v + 0.5);
}

// Deterministic hash noise, so every run paints the same picture.
double noise(int x, int y)
{
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return double((h ^ (h >> 16)) & 0xff) / 255.0;
}

} // namespace

Scene makeScene(int width, int height)
{
    Scene s;
    s.width = width;
    s.height = height;
    s.stride = (width * 3 + 3) & ~3;
    s.pixels.assign(size_t(s.stride) * height, 0);
    const double cx = width * 0.62, cy = height * 0.38, radius = std::fmin(width, height) * 0.22;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = &s.pixels[size_t(y) * s.stride];
        const double v = double(y) / height;
        for (int x = 0; x < width; ++x) {
            const double u = double(x) / width;
            // Sky-to-field gradient.
            double r = 70 + 120 * u, g = 110 + 90 * (1 - v), b = 200 - 150 * v;
            // A sun disc with a hard edge.
            const double dx = x - cx, dy = y - cy;
            if (dx * dx + dy * dy < radius * radius) {
                r = 250;
                g = 210 + 30 * std::sin(dx * 0.05);
                b = 60;
            }
            // Diagonal stripes over the lower third: strong directions.
            if (v > 0.66 && std::fmod((x + y * 0.5) / (width / 24.0 + 1), 2.0) < 1.0) {
                r *= 0.55;
                g *= 0.8;
                b *= 0.45;
            }
            const double t = (noise(x, y) - 0.5) * 36;
            row[x * 3 + 0] = clampByte(b + t);
            row[x * 3 + 1] = clampByte(g + t);
            row[x * 3 + 2] = clampByte(r + t);
        }
    }
    return s;
}

bool loadScene(const char* path, Scene& out)
{
    OwnedBitmap bitmap;
    PngCodec codec;
    if (!codec.load(bitmap, path))
        return false;
    out.width = bitmap.width();
    out.height = bitmap.height();
    out.stride = (out.width * 3 + 3) & ~3;
    out.pixels.assign(size_t(out.stride) * out.height, 0);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            const Pixel p = bitmap.getPixel(x, y);
            uint8_t* d = &out.pixels[size_t(y) * out.stride + x * 3];
            d[0] = p.b;
            d[1] = p.g;
            d[2] = p.r;
        }
    return true;
}
