#pragma once

#include <memory>

#include "shell/operations/Operation.h"

class ImageFilter;

// An operation with a separate inverse: execute and redo run the forward
// filter, undo the inverse one, each into a new image that replaces the
// current one. It keeps no image.
class RotationOperation : public Operation
{
public:
    RotationOperation(ActionHistory& history, const char* key, const char* menuName,
                      const char* description, std::unique_ptr<ImageFilter> forward,
                      std::unique_ptr<ImageFilter> inverse);
    ~RotationOperation() override;

    bool canUndo() const override { return true; }
    bool undo(RenderCallbacks& sink) override;
    bool canRedo() const override { return true; }
    bool redo(RenderCallbacks& sink) override { return execute(sink); }
    bool execute(RenderCallbacks& sink) override;
    bool accepts(const Image& image) override;

private:
    bool replaceCurrent(ImageFilter& filter, RenderCallbacks& sink);

    std::unique_ptr<ImageFilter> forward_;
    std::unique_ptr<ImageFilter> inverse_;
};
