#include "shell/operations/InPlaceOperation.h"

#include <new>

#include "shell/history/ActionHistory.h"
#include "shell/history/ImageStore.h"

InPlaceOperation::InPlaceOperation(ActionHistory& history, const char* key, const char* menuName,
                                   const char* description, std::unique_ptr<InPlaceEdit> edit)
    : Operation(history, key, menuName, description), edit_(std::move(edit))
{
}

InPlaceOperation::~InPlaceOperation()
{
}

bool InPlaceOperation::execute(RenderCallbacks& sink)
{
    DocumentDib* image = history_.currentImage();
    if (!image)
        return false;
    try {
        return edit_->apply(*image, sink);
    } catch (const std::bad_alloc&) {
        history_.store().noteAllocationFailure();
    } catch (...) {
    }
    return false;
}

bool InPlaceOperation::accepts(const Image& image)
{
    return edit_->accepts(image);
}
