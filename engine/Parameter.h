#pragma once

#include <cstdint>

#include "engine/ParamDescriptor.h"
#include "foundation/String.h"

class Component;
class PropertyReader;
class PropertyWriter;
class RenderCallbacks;

// One adjustable setting of a component: one or two 32-bit integers with a
// range, a default, a rule for random values and a text form. A value v with
// `decimals` d stands for the real number v x 10^-d (times `scale`).
class Parameter
{
public:
    enum { ChoiceLabelSlots = 40 };

    // A blank parameter: empty texts, every number 0, no values.
    Parameter();
    // Built from one descriptor row (the terminator row gives a blank one with
    // its texts). Values start at the default; the owner clamps them afterwards.
    Parameter(const ParamDescriptor& row, Component* owner);

    Parameter(const Parameter&) = delete;
    Parameter& operator=(const Parameter&) = delete;

    // Value at index (0 or 1) as a real number; 0.0 for an index without a value.
    double valueReal(int index) const;
    double toReal(int v) const;
    int toInt(float x) const;

    // Stores v at index, clamps every value into [min, max] and calls the
    // listener's requestPreview when the stored value differs from v's
    // predecessor (compared before clamping). Indexes without a value are
    // refused (false, nothing written).
    bool setValue(int v, int index);
    void setReal(float x, int index);

    // Kind 5: the function of the chosen registry entry (an index past the
    // registry gives its default entry, whose function returns 0). Null for a
    // parameter without a registry.
    UntypedFunction selectedFunction() const;
    template <class Fn>
    Fn selectedFunctionAs() const { return reinterpret_cast<Fn>(selectedFunction()); }

    // Text of one stored integer, and of the current value(s) ("a/b" for two).
    String valueText(int v) const;
    String displayText() const;

    void clamp();
    // New random value(s): from [randomLow, randomHigh] with randomChance
    // percent, else from [min, max]; two rand() draws per value.
    void randomize();
    // Small random move of a slider or range value.
    void mutate();
    void resetToDefault();

    void save(PropertyWriter& writer) const;
    void load(const PropertyReader& reader);

    int shape() const { return flags & ParamShapeMask; }

    ParamList registry;            // kind 5: the registry chosen from; not owned
    String label;
    String description;
    String id;
    const char* choiceLabels[ChoiceLabelSlots]; // kind 4: label i, "(error)" when missing
    int32_t flags;
    int32_t kind;
    int32_t decimals;
    int32_t min;
    int32_t max;
    int32_t defaultValue;
    int32_t randomLow;
    int32_t randomHigh;
    int32_t randomChance;
    int32_t values[2];
    uint32_t valueCount;           // 0, 1 or 2
    Component* owner;              // null for blank parameters
    float scale;                   // always 1.0; multiplies real values handed out
    RenderCallbacks* listener;     // not owned; told of every change

private:
    void randomizeValue(int index);
};

// The shared parameter returned for unknown ids: every number 0, no values,
// never written.
Parameter& defaultParameter();
