#pragma once

#include <cstdint>

#include "engine/ParamList.h"

// Value shapes (low five bits of `flags`); higher bits are display hints.
enum ParamShape : int32_t
{
    ParamEnd = 0,      // ends a table; blank parameter
    ParamCheckBox = 1, // one value, 0 or 1
    ParamSingle = 2,   // one value
    ParamRange = 3,    // two values: start and end
    ParamShapeMask = 31,
    ParamGreyRange = 32 // display hint: range drawn with a grey span
};

// Value meanings and text forms; any other kind reads as a plain number.
enum ParamKind : int32_t
{
    ParamNumber = 0,
    ParamAngle = 1,    // number followed by the degree sign
    ParamLabels = 4,   // index into a label list
    ParamRegistry = 5  // index into a named registry
};

// One static row of a component's parameter table. A table ends with a row
// whose flags are 0 (after at most 20 rows). Text pointers are never null.
struct ParamDescriptor
{
    int32_t flags;
    int32_t min;
    int32_t max;
    int32_t defaultValue;
    int32_t decimals;        // stored integer x 10^-decimals is the real value
    const char* label;
    const char* id;
    int32_t kind;
    ParamList list;          // kind 4: label list; kind 5: registry
    int32_t randomLow;
    int32_t randomHigh;
    int32_t randomChance;    // percent; -1 never uses the random range and disables mutation
    const char* description;

    // Tables name each field: a row starts from its shape (the helpers
    // below) and the rest is set by name, e.g.
    //   rangeRow("Radius ", "radius").spans(5, 200).startsAt(25).tenths()
    // Fields not named stay 0, the description empty.
    constexpr ParamDescriptor spans(int32_t low, int32_t high) const
    {
        ParamDescriptor row = *this;
        row.min = low;
        row.max = high;
        return row;
    }
    constexpr ParamDescriptor startsAt(int32_t value) const
    {
        ParamDescriptor row = *this;
        row.defaultValue = value;
        return row;
    }
    constexpr ParamDescriptor tenths() const { return places(1); }
    constexpr ParamDescriptor hundredths() const { return places(2); }
    constexpr ParamDescriptor thousandths() const { return places(3); }
    constexpr ParamDescriptor inDegrees() const
    {
        ParamDescriptor row = *this;
        row.kind = ParamAngle;
        return row;
    }
    constexpr ParamDescriptor greySpan() const
    {
        ParamDescriptor row = *this;
        row.flags |= ParamGreyRange;
        return row;
    }
    // Random values fall in [low, high] with `percent` chance, else anywhere.
    constexpr ParamDescriptor randomIn(int32_t low, int32_t high, int32_t percent) const
    {
        ParamDescriptor row = *this;
        row.randomLow = low;
        row.randomHigh = high;
        row.randomChance = percent;
        return row;
    }
    constexpr ParamDescriptor describedAs(const char* text) const
    {
        ParamDescriptor row = *this;
        row.description = text;
        return row;
    }

private:
    constexpr ParamDescriptor places(int32_t count) const
    {
        ParamDescriptor row = *this;
        row.decimals = count;
        return row;
    }
};

// randomChance of a value never drawn from its random range nor mutated.
constexpr int32_t ParamNoMutation = -1;

constexpr ParamDescriptor checkBoxRow(const char* label, const char* id)
{
    return {ParamCheckBox, 0, 1, 0, 0, label, id, ParamNumber, {}, 0, 0, 0, ""};
}
constexpr ParamDescriptor singleRow(const char* label, const char* id)
{
    return {ParamSingle, 0, 0, 0, 0, label, id, ParamNumber, {}, 0, 0, 0, ""};
}
constexpr ParamDescriptor rangeRow(const char* label, const char* id)
{
    return {ParamRange, 0, 0, 0, 0, label, id, ParamNumber, {}, 0, 0, 0, ""};
}
// One entry of a registry; its range comes from the registry's size.
constexpr ParamDescriptor choiceRow(const char* label, const char* id, ParamList registry)
{
    return {ParamSingle, 0, 0, 0, 0, label, id, ParamRegistry, registry, 0, 0, 0, ""};
}
inline constexpr ParamDescriptor kEndRow = {
    ParamEnd, 0, 0, 0, 0, "", "", ParamNumber, {}, 0, 0, 0, ""};
