#pragma once

#include <cstdlib>

#include "engine/DefaultRenderCallbacks.h"
#include "foundation/NamedRegistry.h"

namespace enginetest {

// A model of the C runtime's generator (214013, 2531011, 15-bit results), so a
// test can predict every draw from a seed and check how many were taken.
struct Lcg
{
    explicit Lcg(unsigned seed) : state(seed) {}
    int next()
    {
        state = state * 214013u + 2531011u;
        return int((state >> 16) & 0x7fff);
    }
    unsigned state;
};

typedef int (*Op)(int);

inline int negate(int v) { return -v; }
inline int twice(int v) { return 2 * v; }
inline int square(int v) { return v * v; }
inline int keep(int v) { return v; }

struct OpRegistry : NamedRegistry<Op>
{
    OpRegistry()
    {
        add("neg", &negate, "Negate");
        add("twice", &twice, "Twice");
        add("sqr", &square, "Square");
        add("keep", &keep, "Keep");
    }
};

// Defined once for the whole test program (ParameterTest.cpp).
extern const OpRegistry opRegistry;

// Counts change notifications.
struct Listener : DefaultRenderCallbacks
{
    Listener() : DefaultRenderCallbacks(&flag) {}
    void requestPreview() override { ++previews; }
    bool flag = false;
    int previews = 0;
};

} // namespace enginetest
