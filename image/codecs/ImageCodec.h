#pragma once

#include "foundation/String.h"

class Image;

// One file format. Each call opens its own file on the path; codec objects are
// stateless. Loading creates the target through its virtual create operations.
class ImageCodec
{
public:
    virtual ~ImageCodec() {}
    virtual bool load(Image& image, const String& path) = 0;
    virtual bool save(const Image& image, const String& path) = 0;
};
