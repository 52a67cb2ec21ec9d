#pragma once

#include "shell/transforms/InPlaceEdit.h"

class Image;

// A pixel transform that is its own inverse (flip, mirror, half turn).
class TransformEdit : public InPlaceEdit
{
public:
    typedef bool (*Transform)(Image& image);
    explicit TransformEdit(Transform transform) : transform_(transform) {}
    bool apply(Image& image, RenderCallbacks& sink) override;

private:
    Transform transform_;
};

// Inverts R, G and B and keeps alpha. It runs to its end whatever the sink
// answers: stopped half-way, the image would be left half inverted outside
// the history.
class InvertEdit : public InPlaceEdit
{
public:
    bool apply(Image& image, RenderCallbacks& sink) override;
};

// Replaces the image by the clipboard's CF_DIB image.
class ClipboardPasteEdit : public InPlaceEdit
{
public:
    bool apply(Image& image, RenderCallbacks& sink) override;
};
