#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A generated test picture with what the painting engine reacts to: smooth
// gradients, hard edges and fine texture. Pixels are B,G,R (format 4) rows
// of width * 3 bytes padded to 4.
struct Scene
{
    int width = 0;
    int height = 0;
    int stride = 0;
    std::vector<uint8_t> pixels;
    // A PNG's alpha, width bytes a row; empty for an opaque picture.
    std::vector<uint8_t> alpha;
};

Scene makeScene(int width, int height);
class Image;
class OwnedBitmap;

// Paths below are UTF-8, opened through the wide file functions. Text that
// is not valid UTF-8 is taken in the ANSI code page, as a narrow argv has it.
std::wstring widen(const char* text);

// Reads a PNG, JPEG or BMP file (told apart by content) or a TGA file (by
// its name: it has no signature) into the same layout. False when it cannot be read, with a one-line reason
// in *reason when given.
bool loadScene(const char* path, Scene& out, std::string* reason = nullptr);
// Writes JPEG (the shell's codec and default quality) when the name ends in
// .jpg or .jpeg, PNG otherwise. The picture goes to a temporary file beside
// the target, which it replaces only once complete: on failure (false, with
// the reason in *reason when given) an old file stays as it was.
bool savePicture(const Image& image, const char* path, std::string* reason = nullptr);
// The painted colour with the source's alpha, for the picture saved to
// path: a fourth channel in a PNG, a blend over white in a JPEG. False
// without memory for it.
bool withSourceAlpha(const Image& painted, const Scene& source, const char* path, OwnedBitmap& out);
