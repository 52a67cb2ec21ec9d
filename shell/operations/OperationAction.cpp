#include "shell/operations/OperationAction.h"

#include <new>

#include "shell/filters/ImageFilter.h"
#include "shell/history/ActionHistory.h"
#include "shell/history/ImageStore.h"
#include "shell/operations/SnapshotRun.h"

OperationAction::OperationAction(ActionHistory& history, const char* key, const char* menuName,
                                 const char* description, std::unique_ptr<ImageFilter> filter)
    : Operation(history, key, menuName, description), filter_(filter.get()),
      ownedFilter_(std::move(filter))
{
}

OperationAction::OperationAction(ActionHistory& history, const char* key, const char* menuName,
                                 const char* description, ImageFilter& borrowed)
    : Operation(history, key, menuName, description), filter_(&borrowed)
{
}

OperationAction::~OperationAction()
{
    const String& held = heldName();
    if (!held.empty())
        history_.store().erase(held);
}

const String& OperationAction::heldName() const
{
    // The image out of sight: the one before while the step is done, the
    // one after while it is undone.
    return before_.empty() ? after_ : before_;
}

bool OperationAction::canUndo() const
{
    return !before_.empty();
}

bool OperationAction::canRedo() const
{
    return !after_.empty();
}

bool OperationAction::execute(RenderCallbacks& sink)
{
    String old, made;
    if (!runIntoSnapshot(history_, *filter_, sink, old, made))
        return false;
    before_ = std::move(old);
    after_ = std::move(made);
    return true;
}

bool OperationAction::undo(RenderCallbacks& sink)
{
    if (before_.empty())
        return false;
    after_ = history_.setCurrentName(std::move(before_));
    before_.clear();
    reportFinished(sink);
    return true;
}

bool OperationAction::redo(RenderCallbacks& sink)
{
    if (after_.empty())
        return execute(sink);
    before_ = history_.setCurrentName(std::move(after_));
    after_.clear();
    reportFinished(sink);
    return true;
}

bool OperationAction::accepts(const Image& image)
{
    return filter_->accepts(image);
}
