#pragma once

#include <functional>
#include <memory>

#include "foundation/PropertyBag.h"
#include "shell/filters/ImageFilter.h"
#include "shell/operations/ParameterRunner.h"

// Builds an operation's real filter from its parameter values; null when it
// cannot.
typedef std::function<std::unique_ptr<ImageFilter>(const PropertyReader& values)> FilterBuilder;

// The filter of a dialog-driven operation: apply first lets the parameter
// runner choose the values (the GUI's parameter dialog, with live previews
// into the destination), then runs the real filter with them. Values once
// confirmed are kept, so a retry or a redo asks no second time.
class ParameterFilter : public ImageFilter, private ParameterPreview
{
public:
    ParameterFilter(const PropertyBag& description, FilterBuilder builder,
                    ParameterRunner& runner);
    ~ParameterFilter() override;

    bool apply(const Image& source, Image& destination, RenderCallbacks& callbacks) override;

    const PropertyBag& values() const { return values_; }

private:
    bool preview(RenderCallbacks& callbacks) override;
    bool runFilter(const Image& source, Image& destination, RenderCallbacks& callbacks);

    PropertyBag description_;
    PropertyBag values_;
    FilterBuilder builder_;
    ParameterRunner& runner_;
    bool confirmed_;
    const Image* source_;
    Image* destination_;
};
