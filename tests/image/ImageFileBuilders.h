#pragma once

// Builders for small image files written byte by byte, independent of the
// codecs under test, plus a scratch folder for them.

#include <cstdint>
#include <string>
#include <vector>

typedef std::vector<uint8_t> Bytes;

// RGBA test pattern; distinct in every channel so swapped channels show.
struct Rgba
{
    uint8_t r, g, b, a;
};
Rgba patternPixel(int x, int y);

// PNG: colourType 0 (grey), 2 (RGB), 3 (palette), 4 (grey+alpha), 6 (RGBA).
// Samples come from patternPixel; 16-bit depth repeats each byte.
Bytes makePng(int width, int height, int colourType, int depth = 8, bool interlaced = false);
// Chunk helpers for hand-made corrupt files.
void appendPngChunk(Bytes& out, const char type[4], const Bytes& data);
// Offsets of every chunk's type field in a PNG.
std::vector<size_t> pngChunkOffsets(const Bytes& png);

// BMP: 24 or 32 bits, height negative for top-down, `gap` bytes between the
// headers and the pixels (pixel offset moved accordingly). alphaZero writes
// alpha 0 everywhere.
Bytes makeBmp(int width, int height, int bits, int gap = 0, bool alphaZero = false);

// TGA: uncompressed true colour, `idLength` bytes of id field.
Bytes makeTga(int width, int height, int bits, bool topDown, int idLength = 0);

// Scratch folder under the system temp folder; ends with a backslash.
std::string scratchFolder();
std::string writeScratchFile(const std::string& name, const Bytes& data);
Bytes readFileBytes(const std::string& path);
