#pragma once

class Image;
class RenderCallbacks;

// An edit of one image in place (flip, mirror, invert, paste...).
class InPlaceEdit
{
public:
    virtual ~InPlaceEdit() {}
    virtual bool accepts(const Image&) { return true; }
    virtual bool apply(Image& image, RenderCallbacks& callbacks) = 0;
};
