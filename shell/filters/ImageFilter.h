#pragma once

class Image;
class RenderCallbacks;

// Anything that turns a source image into a destination image: the built-in
// filters, the parameter dialogs, resample and rotate, and plug-ins. The
// virtual operations keep this order.
class ImageFilter
{
public:
    explicit ImageFilter(bool copySourceFirst) : copySourceFirst_(copySourceFirst) {}
    virtual ~ImageFilter() {}

    // True when the image has a width, a height and pixel memory.
    virtual bool accepts(const Image& image);
    // Creates the destination with the source's size and format (false when
    // that fails), then copies the source into it when copySourceFirst is set.
    virtual bool prepareDestination(const Image& source, Image& destination);
    // True when the destination holds the result; false when the images do
    // not fit, memory ran out or the callbacks stopped the run.
    virtual bool apply(const Image& source, Image& destination, RenderCallbacks& callbacks) = 0;

    bool copySourceFirst() const { return copySourceFirst_; }

protected:
    bool copySourceFirst_;

private:
    ImageFilter(const ImageFilter&) = delete;
    ImageFilter& operator=(const ImageFilter&) = delete;
};
