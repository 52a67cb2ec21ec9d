#pragma once

#include <cstdint>
#include <map>
#include <new>

#include "foundation/String.h"

// The zero of a function pointer type's result: the function stored in every
// unfilled slot. One per signature, so it is always called through a pointer
// of its own type (a float result returned through a mistyped pointer
// corrupts the x87 stack).
template <typename Fn>
struct RegistryZero;

template <typename R, typename... Args>
struct RegistryZero<R (*)(Args...)>
{
    static R returnZero(Args...) { return R(); }
};

// One slot of a NamedRegistry.
template <typename Fn>
struct NamedRegistryEntry
{
    NamedRegistryEntry()
        : id("invalid_id"), displayName("unknown"), function(&RegistryZero<Fn>::returnZero) {}
    NamedRegistryEntry(const String& id_, Fn function_, const String& displayName_)
        : id(id_), displayName(displayName_), function(function_) {}

    String id;
    String displayName;
    Fn function;
};

// A table of at most 256 functions, each registered under an identifier
// (stored in presets) and a display name. Derived registries add their rows
// in their constructors and are read-only afterwards.
template <typename Fn>
class NamedRegistry
{
public:
    typedef Fn Function;
    typedef NamedRegistryEntry<Fn> Entry;
    static const int kCapacity = 256;

    NamedRegistry() : count_(0) {}
    NamedRegistry(const NamedRegistry&) = delete;
    NamedRegistry& operator=(const NamedRegistry&) = delete;
    virtual ~NamedRegistry() {}

    // Stores the entry in the next slot; an id already present is pointed at
    // the new slot. A full table drops the entry.
    void add(const String& id, Fn function, const String& displayName)
    {
        if (count_ >= kCapacity)
            return;
        Entry& slot = entries_[count_];
        slot.id = id;
        slot.displayName = displayName;
        slot.function = function;
        idIndex_[id] = count_;
        ++count_;
    }

    int count() const { return count_; }

    // The entry in the slot, or the shared default entry for an index that
    // is negative or not below count().
    const Entry& entryAt(int index) const
    {
        if (index >= 0 && index < count_)
            return entries_[index];
        return defaultEntry();
    }

    // The slot of the id; an id not registered gives 0 (the first row).
    int indexOf(const String& id) const
    {
        typename std::map<String, int>::const_iterator it = idIndex_.find(id);
        return it == idIndex_.end() ? 0 : it->second;
    }

    bool contains(const String& id) const { return idIndex_.find(id) != idIndex_.end(); }

    // "invalid_id" / "unknown" with a function returning zero. Built on first
    // use and never destroyed, so it is valid during every static
    // initialiser and destructor of the module.
    static const Entry& defaultEntry()
    {
        alignas(Entry) static unsigned char storage[sizeof(Entry)];
        static const Entry* entry = new (storage) Entry();
        return *entry;
    }

private:
    int count_;
    Entry entries_[kCapacity];
    std::map<String, int> idIndex_;
};

// The function registered under id, or the default entry's zero function
// when the id is not registered.
template <typename Fn>
Fn lookupRegistryFunction(const NamedRegistry<Fn>& registry, const String& id)
{
    if (!registry.contains(id))
        return NamedRegistry<Fn>::defaultEntry().function;
    return registry.entryAt(registry.indexOf(id)).function;
}
