#pragma once

#include <cstddef>
#include <cstdint>

class ByteStream;
class ByteSink;

// Reads exactly count bytes unless the stream runs dry; returns the count read.
// Exceptions of the stream pass through.
size_t readFully(ByteStream& stream, void* buffer, size_t count);
// Reads and drops count bytes; false when the stream ends first.
bool skipBytes(ByteStream& stream, uint32_t count);
// Writes all bytes; false when the sink takes fewer.
bool writeFully(ByteSink& sink, const void* buffer, size_t count);

// The length a decoder is told when its source does not know it.
const uint32_t kUnknownLength = 0xFFFFFFFFu;
// Whether a header's pixel buffer may be allocated: a source of known length
// is held to its data by each decoder, while one of unknown length cannot
// prove a large header true and keeps to the decoders' cap.
bool headerSizeTrusted(uint64_t pixelBytes, uint32_t availableBytes);

inline uint16_t readLe16(const unsigned char* p)
{
    return uint16_t(p[0] | (p[1] << 8));
}

inline uint32_t readLe32(const unsigned char* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

inline void putLe16(unsigned char* p, unsigned v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

inline void putLe32(unsigned char* p, uint32_t v)
{
    putLe16(p, v & 0xFFFFu);
    putLe16(p + 2, v >> 16);
}
