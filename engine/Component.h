#pragma once

#include <array>
#include <map>
#include <memory>

#include "engine/Parameter.h"
#include "engine/ValuePair.h"
#include "foundation/Rect.h"
#include "foundation/String.h"

struct Canvas;
struct ParamDescriptor;
class PropertyReader;
class PropertyWriter;

// Base of every brush, stroke algorithm and application pattern: identity,
// the 20 parameters built from the subclass's static table, look-ups by id,
// random values and the component's keys in a preset section.
class Component
{
public:
    enum { ParameterSlots = 20 };

    // table: the subclass's static descriptor rows (at most 20 are read; a
    // row with flags 0 ends it); type: "brush", "stroke" or "application".
    Component(const ParamDescriptor* table, const char* id, const char* displayName, const char* type);
    virtual ~Component();

    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    // The parameter with that id, or the shared default parameter (values 0).
    Parameter& findParameter(const String& id);
    const Parameter& findParameter(const String& id) const;
    bool hasParameter(const String& id) const;
    // Slot i (0..19), or null outside the slots.
    Parameter* parameterAt(int index) const;

    // Both stored integers / both real values of a parameter; zeros for an
    // unknown id.
    void intRange(const String& id, int out[2]) const;
    void realRange(const String& id, float out[2]) const;

    void randomize();
    void mutate();
    void clampValues();
    void resetToDefaults();

    // Writes "<type>.id" and every parameter under "<type>.".
    void save(PropertyWriter& writer) const;
    // Reads every parameter back from "<type>." keys.
    void load(const PropertyReader& reader);

    // Sets `canvas` and `pixelOffset` (canvas origin minus area top-left).
    void setCanvas(Canvas* target);

    String id;
    String displayName;
    String type;
    const ParamDescriptor* const table; // the static rows the parameters were built from
    std::map<String, Parameter*> parameterMap;
    Canvas* canvas;     // not owned; set before each render
    Point pixelOffset;
    std::array<std::unique_ptr<Parameter>, ParameterSlots> parameters;

protected:
    // Readers by table row, for the painting code: each component names its
    // rows in an enum beside its table, so the compiler checks every name.
    const Parameter& param(int row) const { return *parameters[row]; }
    // The first stored integer; a check box's state.
    int rawValue(int row) const { return param(row).values[0]; }
    bool isChecked(int row) const { return rawValue(row) != 0; }
    // The first real value, and both real values of a range.
    float realValue(int row) const { return float(param(row).valueReal(0)); }
    ValuePair realPair(int row) const;
    // The function a registry choice selects, or the fallback when it
    // selects none.
    template <class Fn>
    Fn choice(int row, Fn fallback) const
    {
        const Fn fn = param(row).selectedFunctionAs<Fn>();
        return fn ? fn : fallback;
    }
};
