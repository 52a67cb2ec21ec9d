#pragma once

class PropertyBag;
class PropertyReader;
class RenderCallbacks;

// Runs the operation's filter with the values chosen so far, into the
// operation's destination (a live preview).
class ParameterPreview
{
public:
    virtual ~ParameterPreview() {}
    virtual bool preview(RenderCallbacks& callbacks) = 0;
};

// Where dialog-driven operations get their parameter values: the GUI plugs
// in its parameter and resample dialogs; windowless callers take the
// described defaults or a bag of their own.
class ParameterRunner
{
public:
    virtual ~ParameterRunner() {}
    // Fills values (each parameter's value under its key) from a parameter
    // description; true when the values are confirmed.
    virtual bool chooseValues(const PropertyReader& description, PropertyBag& values,
                              ParameterPreview& preview) = 0;
    // The new size and smoothing of a resample; true when confirmed.
    virtual bool chooseResample(int width, int height, int& newWidth, int& newHeight,
                                float& smooth) = 0;
};

// Confirms every description at its default positions (each turned into its
// value as the dialog's sliders would) and declines a resample.
class DescribedDefaultsRunner : public ParameterRunner
{
public:
    bool chooseValues(const PropertyReader& description, PropertyBag& values,
                      ParameterPreview& preview) override;
    bool chooseResample(int width, int height, int& newWidth, int& newHeight,
                        float& smooth) override;
};

// Confirms with the values of a fixed bag, copied over the described
// defaults; a resample gets "width", "height" and "smooth" of the bag.
class FixedValuesRunner : public DescribedDefaultsRunner
{
public:
    explicit FixedValuesRunner(const PropertyBag& values);
    ~FixedValuesRunner() override;
    bool chooseValues(const PropertyReader& description, PropertyBag& values,
                      ParameterPreview& preview) override;
    bool chooseResample(int width, int height, int& newWidth, int& newHeight,
                        float& smooth) override;

private:
    PropertyBag* values_;
};

// The runner used when a history has none of its own.
ParameterRunner& defaultParameterRunner();
