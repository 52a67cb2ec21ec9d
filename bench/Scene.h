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
};

Scene makeScene(int width, int height);
class Image;

// Reads a PNG, JPEG or BMP file (told apart by content) or a TGA file (by
// its name: it has no signature) into the same layout. False when it cannot be read, with a one-line reason
// in *reason when given.
bool loadScene(const char* path, Scene& out, std::string* reason = nullptr);
// Writes JPEG (the shell's codec and default quality) when the name ends in
// .jpg or .jpeg, PNG otherwise. False with the reason in *reason when given;
// a file left half written is removed.
bool savePicture(const Image& image, const char* path, std::string* reason = nullptr);
