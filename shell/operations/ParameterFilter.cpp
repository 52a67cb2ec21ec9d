#include "shell/operations/ParameterFilter.h"

#include <new>

ParameterFilter::ParameterFilter(const PropertyBag& description, FilterBuilder builder,
                                 ParameterRunner& runner)
    : ImageFilter(false), description_(description), builder_(builder), runner_(runner),
      confirmed_(false), source_(nullptr), destination_(nullptr)
{
}

ParameterFilter::~ParameterFilter()
{
}

bool ParameterFilter::apply(const Image& source, Image& destination, RenderCallbacks& callbacks)
{
    if (!confirmed_) {
        source_ = &source;
        destination_ = &destination;
        bool ok = false;
        try {
            ok = runner_.chooseValues(description_, values_, *this);
        } catch (const std::bad_alloc&) {
            // Told to the user as a memory failure by the one who runs us.
            source_ = nullptr;
            destination_ = nullptr;
            throw;
        } catch (...) {
            ok = false;
        }
        source_ = nullptr;
        destination_ = nullptr;
        if (!ok)
            return false;
        confirmed_ = true;
    }
    return runFilter(source, destination, callbacks);
}

bool ParameterFilter::preview(RenderCallbacks& callbacks)
{
    return source_ && destination_ && runFilter(*source_, *destination_, callbacks);
}

bool ParameterFilter::runFilter(const Image& source, Image& destination,
                                RenderCallbacks& callbacks)
{
    std::unique_ptr<ImageFilter> filter = builder_(values_);
    return filter && filter->apply(source, destination, callbacks);
}
