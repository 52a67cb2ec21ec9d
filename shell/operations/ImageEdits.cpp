#include "shell/operations/ImageEdits.h"

#include "engine/RenderCallbacks.h"
#include "image/Image.h"
#include "shell/document/ClipboardPaste.h"
#include "shell/operations/Operation.h"
#include "shell/transforms/PixelFunction.h"

namespace {

bool report(bool ok, RenderCallbacks& sink)
{
    if (ok)
        reportFinished(sink);
    else
        reportFailed(sink);
    return ok;
}

class InvertFunction : public PixelFunction
{
public:
    Pixel pixelAt(const Image& source, int x, int y) const override
    {
        Pixel p = source.getPixel(source.clampX(x), source.clampY(y));
        p.r = uint8_t(255 - p.r);
        p.g = uint8_t(255 - p.g);
        p.b = uint8_t(255 - p.b);
        return p;
    }
};

// Passes progress on for display but never lets it stop the run.
class UnstoppableCallbacks : public RenderCallbacks
{
public:
    explicit UnstoppableCallbacks(RenderCallbacks& outer) : outer_(outer) {}
    void requestPreview() override {}
    bool progress(float fraction) override
    {
        outer_.progress(fraction);
        return true;
    }
    bool isCancelled() override { return false; }
    void finished() override {}
    void reserved() override {}
    void cancel() override {}
    void reset() override {}
    Logger* logger() override { return outer_.logger(); }

private:
    RenderCallbacks& outer_;
};

} // namespace

bool TransformEdit::apply(Image& image, RenderCallbacks& sink)
{
    return report(transform_(image), sink);
}

bool InvertEdit::apply(Image& image, RenderCallbacks& sink)
{
    InvertFunction invert;
    UnstoppableCallbacks callbacks(sink);
    return report(runPixelFunctionInPlace(invert, image, callbacks), sink);
}

bool ClipboardPasteEdit::apply(Image& image, RenderCallbacks& sink)
{
    return report(pasteClipboardDib(image), sink);
}
