#include "shell/operations/RotationOperation.h"

#include "shell/filters/ImageFilter.h"
#include "shell/history/ActionHistory.h"
#include "shell/history/ImageStore.h"
#include "shell/operations/SnapshotRun.h"

RotationOperation::RotationOperation(ActionHistory& history, const char* key,
                                     const char* menuName, const char* description,
                                     std::unique_ptr<ImageFilter> forward,
                                     std::unique_ptr<ImageFilter> inverse)
    : Operation(history, key, menuName, description), forward_(std::move(forward)),
      inverse_(std::move(inverse))
{
}

RotationOperation::~RotationOperation()
{
}

bool RotationOperation::execute(RenderCallbacks& sink)
{
    return replaceCurrent(*forward_, sink);
}

bool RotationOperation::undo(RenderCallbacks& sink)
{
    return replaceCurrent(*inverse_, sink);
}

bool RotationOperation::accepts(const Image& image)
{
    return forward_->accepts(image) && inverse_->accepts(image);
}

bool RotationOperation::replaceCurrent(ImageFilter& filter, RenderCallbacks& sink)
{
    String old, made;
    if (!runIntoSnapshot(history_, filter, sink, old, made))
        return false;
    history_.store().erase(old);
    return true;
}
