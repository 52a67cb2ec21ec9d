#pragma once

#include <memory>

#include "shell/operations/Operation.h"
#include "shell/transforms/InPlaceEdit.h"

// An operation that is its own inverse: execute, undo and redo all run the
// same edit on the current image. It keeps no image.
class InPlaceOperation : public Operation
{
public:
    InPlaceOperation(ActionHistory& history, const char* key, const char* menuName,
                     const char* description, std::unique_ptr<InPlaceEdit> edit);
    ~InPlaceOperation() override;

    bool canUndo() const override { return true; }
    bool undo(RenderCallbacks& sink) override { return execute(sink); }
    bool canRedo() const override { return true; }
    bool redo(RenderCallbacks& sink) override { return execute(sink); }
    bool execute(RenderCallbacks& sink) override;
    bool accepts(const Image& image) override;

private:
    std::unique_ptr<InPlaceEdit> edit_;
};
