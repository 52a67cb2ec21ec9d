#pragma once

#include "foundation/NamedRegistry.h"
#include "foundation/String.h"

// A plain function pointer of unknown type; the caller converts it back to the
// function type of the registry it came from before calling it.
typedef void (*UntypedFunction)();

// The `list` field of a parameter descriptor: either a label list (texts each
// ended by a NUL, the list ended by an empty text) or a named registry of any
// function type, seen through its ids, display names and functions. Both
// constructors are constexpr so descriptor tables stay constant-initialised and
// never depend on the order in which the registries themselves are built.
class ParamList
{
    struct Ops
    {
        int (*count)(const void*);
        const String& (*id)(const void*, int);
        const String& (*displayName)(const void*, int);
        UntypedFunction (*function)(const void*, int);
        int (*indexOf)(const void*, const String&);
    };

    template <class Fn>
    struct OpsFor
    {
        static const NamedRegistry<Fn>& reg(const void* p) { return *static_cast<const NamedRegistry<Fn>*>(p); }
        // Indexes outside the registry, negative ones included, give its
        // default entry ("invalid_id" / "unknown", a function returning 0).
        static int count(const void* p) { return reg(p).count(); }
        static const String& id(const void* p, int i) { return reg(p).entryAt(i).id; }
        static const String& displayName(const void* p, int i) { return reg(p).entryAt(i).displayName; }
        static UntypedFunction function(const void* p, int i)
        {
            return reinterpret_cast<UntypedFunction>(reg(p).entryAt(i).function);
        }
        static int indexOf(const void* p, const String& text) { return reg(p).indexOf(text); }
        static constexpr Ops ops{&count, &id, &displayName, &function, &indexOf};
    };

public:
    constexpr ParamList() : list(nullptr), ops(nullptr) {}
    // Label list (or none, for a null pointer).
    constexpr ParamList(const char* labels) : list(labels), ops(nullptr) {}
    // Named registry of any function type (derived registries convert too).
    template <class Fn>
    constexpr ParamList(const NamedRegistry<Fn>* registry)
        : list(registry), ops(registry ? &OpsFor<Fn>::ops : nullptr)
    {
    }

    // Same label list or same registry.
    constexpr bool operator==(const ParamList& other) const
    {
        return list == other.list && ops == other.ops;
    }
    constexpr bool operator!=(const ParamList& other) const { return !(*this == other); }

    bool isRegistry() const { return ops != nullptr; }
    // The label list, or null when this is a registry or nothing.
    const char* labels() const { return ops ? nullptr : static_cast<const char*>(list); }

    // Registry view; only meaningful when isRegistry().
    int count() const { return ops->count(list); }
    const String& idAt(int index) const { return ops->id(list, index); }
    const String& displayNameAt(int index) const { return ops->displayName(list, index); }
    UntypedFunction functionAt(int index) const { return ops->function(list, index); }
    int indexOf(const String& id) const { return ops->indexOf(list, id); }

private:
    const void* list;
    const Ops* ops;
};
