#pragma once

#include <cstdint>
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
// Reads a PNG file into the same layout; false when it cannot be read.
bool loadScene(const char* path, Scene& out);
