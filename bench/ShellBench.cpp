// Measures the shell's built-in filters on one thread: megapixels of source
// per second (best of the repeats), per operation and size, for the filter's
// run alone and with the preparation of a new destination.
//   shellbench [--sizes 1024,4096] [--repeat N] [--format 4|6] [--verify]
// --verify also renders the resample through the plain per-pixel sampler and
// compares the bytes.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/Scene.h"
#include "engine/DefaultRenderCallbacks.h"
#include "foundation/PropertyBag.h"
#include "image/OwnedBitmap.h"
#include "shell/colour/ColourFunctions.h"
#include "shell/filters/GaussianBlurFilter.h"
#include "shell/filters/UnsharpMaskFilter.h"
#include "shell/transforms/PixelFunctionFilter.h"
#include "shell/transforms/ResampleFilter.h"
#include "shell/transforms/RotateCropFilter.h"
#include "shell/transforms/TransformedRender.h"

namespace {

PropertyBag values(std::initializer_list<std::pair<const char*, const char*>> list)
{
    PropertyBag b;
    for (const auto& v : list)
        b.setString(v.first, v.second);
    return b;
}

struct Operation
{
    const char* name;
    std::function<std::unique_ptr<ImageFilter>(const Image&)> make;
};

std::vector<Operation> operations()
{
    return {
        {"gaussian r5", [](const Image&) { return std::unique_ptr<ImageFilter>(new GaussianBlurFilter(5.0f, 5.0f)); }},
        {"unsharp r5", [](const Image&) { return std::unique_ptr<ImageFilter>(new UnsharpMaskFilter(5.0f, 0.5f)); }},
        {"resample 50%", [](const Image& s) {
             return std::unique_ptr<ImageFilter>(new ResampleFilter(s.width() / 2, s.height() / 2, 1.0f)); }},
        {"rotate-crop 10deg", [](const Image&) {
             return std::unique_ptr<ImageFilter>(new RotateCropFilter(
                 values({{"width", "1"}, {"height", "1"}, {"rotate", "10"}}))); }},
        {"hue/saturation", [](const Image&) {
             return std::unique_ptr<ImageFilter>(new PixelFunctionFilter(makeColourFunction(
                 "color_huesaturation",
                 values({{"hue_rotate", "0.1"}, {"saturation", "0.2"}, {"lightness", "0.05"}})))); }},
        {"levels", [](const Image&) {
             return std::unique_ptr<ImageFilter>(new PixelFunctionFilter(makeColourFunction(
                 "color_levels", values({{"input_black", "20"}, {"input_white", "230"},
                                         {"input_gamma", "1.2"}, {"output_white", "255"}})))); }},
    };
}

bool verifyResample(const Image& source)
{
    const int dw = source.width() / 2, dh = source.height() / 2;
    OwnedBitmap fast, plain(dw, dh, source.format());
    ResampleFilter filter(dw, dh, 1.0f);
    bool cancel = false;
    DefaultRenderCallbacks callbacks(&cancel);
    if (!filter.prepareDestination(source, fast) || !filter.apply(source, fast, callbacks))
        return false;
    const float sx = float(double(source.width()) / dw - 0.000001);
    const float sy = float(double(source.height()) / dh - 0.000001);
    if (!renderTransformedPlain(source, plain, Vec2(sx / 2, sy / 2), Vec2(sx, 0.0f),
                                Vec2(0.0f, sy), sx, sy, AreaDivide::Covered, callbacks))
        return false;
    for (int y = 0; y < dh; ++y)
        if (std::memcmp(fast.row(y), plain.row(y), size_t(dw) * fast.step()))
            return false;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes = {1024, 4096};
    int repeat = 3;
    int format = 4;
    bool verify = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--sizes") && i + 1 < argc) {
            sizes = parseSizes(argv[++i]);
        } else if (!std::strcmp(argv[i], "--repeat") && i + 1 < argc) {
            repeat = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--format") && i + 1 < argc) {
            format = std::atoi(argv[++i]) == 6 ? 6 : 4;
        } else if (!std::strcmp(argv[i], "--verify")) {
            verify = true;
        } else {
            std::fprintf(stderr, "usage: shellbench [--sizes 1024,4096] [--repeat N] "
                                 "[--format 4|6] [--verify]\n");
            return 2;
        }
    }
    if (repeat < 1)
        repeat = 1;

    std::printf("%-18s %6s %10s %10s %10s   (source pixels, format %d, best of %d)\n",
                "operation", "size", "ms/apply", "MPix/s", "with dest", format, repeat);
    int status = 0;
    for (int size : sizes) {
        if (size < 1)
            continue;
        const Scene scene = makeScene(size, size);
        OwnedBitmap source(size, size, format);
        if (source.isEmpty()) {
            std::fprintf(stderr, "cannot allocate %dx%d\n", size, size);
            return 1;
        }
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const uint8_t* p = &scene.pixels[size_t(y) * scene.stride + size_t(x) * 3];
                source.setPixel(x, y, Pixel(p[2], p[1], p[0], uint8_t(x ^ y)));
            }
        for (const Operation& op : operations()) {
            // "apply" runs the filter on a destination prepared beforehand (as
            // the edit engine does); "total" includes preparing a new one,
            // whose first touch of fresh pages is slow under Wine here.
            double bestApply = 0, bestTotal = 0;
            bool ok = true;
            std::unique_ptr<ImageFilter> filter = op.make(source);
            OwnedBitmap out;
            for (int r = 0; r < repeat; ++r) {
                OwnedBitmap fresh;
                bool cancel = false;
                DefaultRenderCallbacks callbacks(&cancel);
                double start = nowMs();
                ok = filter->prepareDestination(source, fresh) && filter->apply(source, fresh, callbacks) && ok;
                const double total = nowMs() - start;
                if (r == 0) {
                    ok = filter->prepareDestination(source, out) && ok;
                    ok = filter->apply(source, out, callbacks) && ok;
                }
                start = nowMs();
                ok = filter->apply(source, out, callbacks) && ok;
                const double apply = nowMs() - start;
                if (r == 0 || total < bestTotal)
                    bestTotal = total;
                if (r == 0 || apply < bestApply)
                    bestApply = apply;
            }
            const double mpix = double(size) * size / 1e6;
            std::printf("%-18s %6d %10.1f %10.2f %10.2f%s\n", op.name, size, bestApply,
                        bestApply > 0 ? mpix / (bestApply / 1000.0) : 0.0,
                        bestTotal > 0 ? mpix / (bestTotal / 1000.0) : 0.0, ok ? "" : "  (failed)");
            std::fflush(stdout);
            if (!ok)
                status = 1;
        }
        if (verify) {
            const bool same = verifyResample(source);
            std::printf("resample 50%% at %d: %s the plain sampler\n", size,
                        same ? "same bytes as" : "DIFFERS from");
            if (!same)
                status = 1;
        }
    }
    return status;
}
