#include "engine/Component.h"

#include "engine/Canvas.h"
#include "engine/KeyPrefixReader.h"
#include "engine/KeyPrefixWriter.h"
#include "engine/ParamDescriptor.h"

Component::Component(const ParamDescriptor* table, const char* componentId, const char* name,
                     const char* componentType)
    : id(componentId), displayName(name), type(componentType), table(table), canvas(nullptr),
      pixelOffset{0, 0}
{
    bool ended = table == nullptr;
    for (int i = 0; i < ParameterSlots; ++i) {
        if (ended) {
            parameters[i] = std::make_unique<Parameter>();
            continue;
        }
        parameters[i] = std::make_unique<Parameter>(table[i], this);
        if (parameters[i]->flags != 0)
            parameterMap.emplace(parameters[i]->id, parameters[i].get()); // first row keeps a shared id
        else
            ended = true;
    }
    clampValues();
}

Component::~Component()
{
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
    return index >= 0 && index < ParameterSlots ? parameters[index].get() : nullptr;
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

ValuePair Component::realPair(int row) const
{
    const Parameter& p = param(row);
    ValuePair pair;
    pair.first = float(p.valueReal(0));
    pair.second = float(p.valueReal(1));
    return pair;
}

void Component::randomize()
{
    for (const auto& p : parameters)
        p->randomize();
}

void Component::mutate()
{
    for (const auto& p : parameters)
        p->mutate();
}

void Component::clampValues()
{
    for (const auto& p : parameters)
        p->clamp();
}

void Component::resetToDefaults()
{
    for (const auto& p : parameters)
        p->resetToDefault();
}

void Component::save(PropertyWriter& writer) const
{
    KeyPrefixWriter prefixed(&writer, type + ".");
    prefixed.setString("id", id);
    for (const auto& p : parameters)
        p->save(prefixed);
}

void Component::load(const PropertyReader& reader)
{
    KeyPrefixReader prefixed(&reader, type + ".");
    for (const auto& p : parameters)
        p->load(prefixed);
}

void Component::setCanvas(Canvas* target)
{
    canvas = target;
    pixelOffset = target ? target->pixelOffset() : Point{0, 0};
}
