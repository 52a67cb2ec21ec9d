#pragma once

#include "shell/filters/ImageFilter.h"

class InPlaceEdit;

// Runs an in-place edit as a filter: on the destination, which with
// copySourceFirst first receives a copy of the source.
class InPlaceFilterAdapter : public ImageFilter
{
public:
    // The edit is not owned and must outlive the adapter.
    InPlaceFilterAdapter(InPlaceEdit& edit, bool copySourceFirst);
    bool apply(const Image& source, Image& destination, RenderCallbacks& callbacks) override;

private:
    InPlaceEdit& edit_;
};
