#pragma once

#include <windows.h>

class Image;

// A custom "bin" resource of a module, holding PNG data.
class BinResource
{
public:
    BinResource();
    ~BinResource();
    BinResource(const BinResource&) = delete;
    BinResource& operator=(const BinResource&) = delete;

    // Decodes resource `id` (low 16 bits) of `module` (the executable when
    // null) as an image of the given type; only PNG (2) decodes. Throws
    // Exception "Resource Exception" when the resource cannot be found or
    // loaded; returns the decoder's result otherwise.
    bool loadImage(Image& image, unsigned int id, int imageType, HMODULE module);
    void release();

private:
    HGLOBAL resource_;
};
