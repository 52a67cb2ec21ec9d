#include "engine/Component.h"

#include "engine/Canvas.h"
#include "engine/KeyPrefixReader.h"
#include "engine/KeyPrefixWriter.h"
#include "engine/ParamDescriptor.h"

Component::Component(const ParamDescriptor* table, const char* componentId, const char* name,
                     const char* componentType)
    : id(componentId), displayName(name), type(componentType), canvas(nullptr), pixelOffset{0, 0},
      parameters{}
{
    try {
        bool ended = table == nullptr;
        for (int i = 0; i < ParameterSlots; ++i) {
            if (ended) {
                parameters[i] = new Parameter();
                continue;
            }
            parameters[i] = new Parameter(table[i], this);
            if (parameters[i]->flags != 0)
                parameterMap.emplace(parameters[i]->id, parameters[i]); // first row keeps a shared id
            else
                ended = true;
        }
    } catch (...) {
        for (Parameter* p : parameters)
            delete p;
        throw;
    }
    clampValues();
}

Component::~Component()
{
    for (Parameter*& p : parameters) {
        delete p;
        p = nullptr;
    }
}

Parameter& Component::findParameter(const String& key)
{
    auto it = parameterMap.find(key);
    return it != parameterMap.end() ? *it->second : defaultParameter();
}

const Parameter& Component::findParameter(const String& key) const
{
    auto it = parameterMap.find(key);
    return it != parameterMap.end() ? *it->second : defaultParameter();
}

bool Component::hasParameter(const String& key) const
{
    return parameterMap.count(key) != 0;
}

Parameter* Component::parameterAt(int index) const
{
    return index >= 0 && index < ParameterSlots ? parameters[index] : nullptr;
}

void Component::intRange(const String& key, int out[2]) const
{
    auto it = parameterMap.find(key);
    if (it == parameterMap.end()) {
        out[0] = out[1] = 0;
        return;
    }
    out[0] = it->second->values[0];
    out[1] = it->second->values[1];
}

void Component::realRange(const String& key, float out[2]) const
{
    auto it = parameterMap.find(key);
    if (it == parameterMap.end()) {
        out[0] = out[1] = 0.0f;
        return;
    }
    out[0] = float(it->second->valueReal(0));
    out[1] = float(it->second->valueReal(1));
}

void Component::randomize()
{
    for (Parameter* p : parameters)
        p->randomize();
}

void Component::mutate()
{
    for (Parameter* p : parameters)
        p->mutate();
}

void Component::clampValues()
{
    for (Parameter* p : parameters)
        p->clamp();
}

void Component::resetToDefaults()
{
    for (Parameter* p : parameters)
        p->resetToDefault();
}

void Component::save(PropertyWriter& writer) const
{
    KeyPrefixWriter prefixed(&writer, type + ".");
    prefixed.setString("id", id);
    for (const Parameter* p : parameters)
        p->save(prefixed);
}

void Component::load(const PropertyReader& reader)
{
    KeyPrefixReader prefixed(&reader, type + ".");
    for (Parameter* p : parameters)
        p->load(prefixed);
}

void Component::setCanvas(Canvas* target)
{
    canvas = target;
    pixelOffset = target ? target->pixelOffset() : Point{0, 0};
}
