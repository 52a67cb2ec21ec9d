#include "image/codecs/StreamIo.h"

#include "foundation/ByteStream.h"
#include "foundation/ByteSink.h"
#include "image/OwnedBitmap.h"

#include <climits>

size_t readFully(ByteStream& stream, void* buffer, size_t count)
{
    unsigned char* out = static_cast<unsigned char*>(buffer);
    size_t done = 0;
    while (done < count) {
        const size_t want = count - done;
        const unsigned int chunk = want > UINT_MAX ? UINT_MAX : static_cast<unsigned int>(want);
        const unsigned int got = stream.read(out + done, chunk);
        if (got == 0 || got > chunk)
            break;
        done += got;
    }
    return done;
}

bool skipBytes(ByteStream& stream, uint32_t count)
{
    unsigned char scratch[4096];
    while (count > 0) {
        const uint32_t chunk = count < sizeof scratch ? count : uint32_t(sizeof scratch);
        if (readFully(stream, scratch, chunk) != chunk)
            return false;
        count -= chunk;
    }
    return true;
}

bool writeFully(ByteSink& sink, const void* buffer, size_t count)
{
    const unsigned char* in = static_cast<const unsigned char*>(buffer);
    size_t done = 0;
    while (done < count) {
        const size_t want = count - done;
        const unsigned int chunk = want > UINT_MAX ? UINT_MAX : static_cast<unsigned int>(want);
        const unsigned int put = sink.write(in + done, chunk);
        if (put != chunk)
            return false;
        done += put;
    }
    return true;
}

bool headerSizeTrusted(uint64_t pixelBytes, uint32_t availableBytes)
{
    return availableBytes != kUnknownLength || pixelBytes <= OwnedBitmap::kMaxPixelBytes;
}
