#include "shell/operations/ParameterRunner.h"

#include "foundation/PropertyBag.h"
#include "shell/operations/ParameterSchema.h"

bool DescribedDefaultsRunner::chooseValues(const PropertyReader& description, PropertyBag& values,
                                           ParameterPreview&)
{
    const int count = description.getInt("count", 0);
    if (count < 1 || count > kMaxSchemaParameters)
        return false;
    for (int i = 0; i < count; ++i) {
        const String key = description.getString(String::fromFormat("name_%d", i), String());
        storeParameterValue(description, i, description.getInt(key, 0), values);
    }
    return true;
}

bool DescribedDefaultsRunner::chooseResample(int, int, int&, int&, float&)
{
    return false;
}

FixedValuesRunner::FixedValuesRunner(const PropertyBag& values) : values_(new PropertyBag(values))
{
}

FixedValuesRunner::~FixedValuesRunner()
{
    delete values_;
}

bool FixedValuesRunner::chooseValues(const PropertyReader& description, PropertyBag& values,
                                     ParameterPreview& preview)
{
    DescribedDefaultsRunner::chooseValues(description, values, preview);
    for (const auto& entry : values_->entries())
        values.setString(entry.first, entry.second);
    return true;
}

bool FixedValuesRunner::chooseResample(int width, int height, int& newWidth, int& newHeight,
                                       float& smooth)
{
    newWidth = values_->getInt("width", width);
    newHeight = values_->getInt("height", height);
    smooth = values_->getFloat("smooth", 1.0f);
    return true;
}

ParameterRunner& defaultParameterRunner()
{
    static DescribedDefaultsRunner runner;
    return runner;
}
