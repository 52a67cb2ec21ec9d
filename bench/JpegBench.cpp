// Measures the shell's JPEG codec on the generated scene: megapixels per
// second for saving at the given quality and for loading the result, from
// and to memory, best of the repeats. One thread.
//   jpegbench [--sizes 1024,4096] [--repeat N] [--quality 80]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/Scene.h"
#include "foundation/ByteSink.h"
#include "foundation/FixedBufferReader.h"
#include "image/OwnedBitmap.h"
#include "shell/files/JpegCodec.h"

namespace {

class VectorSink : public ByteSink
{
public:
    unsigned int write(const unsigned char* buffer, unsigned int count) override
    {
        data.insert(data.end(), buffer, buffer + count);
        return count;
    }
    std::vector<unsigned char> data;
};

} // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes = {1024, 4096};
    int repeat = 3;
    int quality = 80;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--sizes"))
            sizes = parseSizes(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--repeat"))
            repeat = std::max(1, std::atoi(argv[i + 1]));
        else if (!std::strcmp(argv[i], "--quality"))
            quality = std::atoi(argv[i + 1]);
        else {
            std::fprintf(stderr, "unknown option %s\n", argv[i]);
            return 2;
        }
    }
    std::printf("JPEG quality %d, best of %d, one thread\n", quality, repeat);
    std::printf("%-11s %10s %10s %10s %10s %10s\n", "size", "bytes", "save ms", "save Mpix/s", "load ms",
                "load Mpix/s");
    for (int size : sizes) {
        const Scene scene = makeScene(size, size);
        OwnedBitmap image(size, size, 4);
        if (image.isEmpty())
            return 1;
        for (int y = 0; y < size; ++y)
            std::memcpy(image.row(y), &scene.pixels[size_t(y) * scene.stride], size_t(size) * 3);

        double bestSave = 1e30, bestLoad = 1e30;
        std::vector<unsigned char> encoded;
        for (int r = 0; r < repeat; ++r) {
            VectorSink sink;
            sink.data.reserve(size_t(size) * size);
            const double t0 = nowMs();
            if (!writeJpeg(image, sink, quality))
                return 1;
            bestSave = std::min(bestSave, nowMs() - t0);
            encoded.swap(sink.data);
        }
        for (int r = 0; r < repeat; ++r) {
            OwnedBitmap decoded;
            FixedBufferReader reader(encoded.data(), unsigned(encoded.size()));
            const double t0 = nowMs();
            if (!readJpeg(decoded, reader, unsigned(encoded.size())))
                return 1;
            bestLoad = std::min(bestLoad, nowMs() - t0);
        }
        const double mpix = double(size) * size / 1e6;
        char label[32];
        std::snprintf(label, sizeof label, "%dx%d", size, size);
        std::printf("%-11s %10zu %10.1f %10.1f %10.1f %10.1f\n", label, encoded.size(), bestSave,
                    mpix / (bestSave / 1000.0), bestLoad, mpix / (bestLoad / 1000.0));
    }
    return 0;
}
