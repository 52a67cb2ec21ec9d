#pragma once

#include <cstdint>

// One 32-bit value (the skinned controls keep packed colours in it).
class ValueHolder
{
public:
    ValueHolder() : value(0) {}
    explicit ValueHolder(uint32_t v) : value(v) {}
    void set(uint32_t v) { value = v; }

    uint32_t value;
};
