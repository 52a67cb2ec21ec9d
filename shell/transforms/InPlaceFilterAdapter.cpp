#include "shell/transforms/InPlaceFilterAdapter.h"

#include "shell/transforms/InPlaceEdit.h"

InPlaceFilterAdapter::InPlaceFilterAdapter(InPlaceEdit& edit, bool copySourceFirst)
    : ImageFilter(copySourceFirst), edit_(edit)
{
}

bool InPlaceFilterAdapter::apply(const Image&, Image& destination, RenderCallbacks& callbacks)
{
    return edit_.apply(destination, callbacks);
}
