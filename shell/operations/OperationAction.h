#pragma once

#include <memory>

#include "shell/operations/Operation.h"

class ImageFilter;

// An operation that keeps the image it replaced: execute filters the current
// image into a new snapshot, undo and redo switch between the two by name.
// The image out of sight is the operation's own and is released with it.
// Switching names moves them, so a done step is recorded without failing.
class OperationAction : public Operation
{
public:
    OperationAction(ActionHistory& history, const char* key, const char* menuName,
                    const char* description, std::unique_ptr<ImageFilter> filter);
    // A filter that lives longer than the operation (a plug-in).
    OperationAction(ActionHistory& history, const char* key, const char* menuName,
                    const char* description, ImageFilter& borrowed);
    ~OperationAction() override;

    bool canUndo() const override;
    bool undo(RenderCallbacks& sink) override;
    bool canRedo() const override;
    bool redo(RenderCallbacks& sink) override;
    bool execute(RenderCallbacks& sink) override;
    bool accepts(const Image& image) override;

    const String& heldName() const;

private:
    ImageFilter* filter_;
    std::unique_ptr<ImageFilter> ownedFilter_;
    String before_;
    String after_;
};
