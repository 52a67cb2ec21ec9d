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
};
