#pragma once

#include <map>

#include "foundation/Persistable.h"
#include "foundation/PropertyReaderWriter.h"
#include "foundation/String.h"

class ByteSink;

// Sorted key/value text map; the standard property store. With
// lowerCaseKeys set, every key is lower-cased before it is looked up or
// stored.
class PropertyBag : public Persistable, public PropertyReaderWriter
{
public:
    typedef std::map<String, String> Entries;

    explicit PropertyBag(bool lowerCaseKeys = false);
    PropertyBag(const PropertyBag& other);
    PropertyBag& operator=(const PropertyBag& other);
    ~PropertyBag() override;

    // Persistable: load replaces the value of every key the bag already
    // holds by the reader's text ("" when the reader lacks it) and adds no
    // keys; save writes every entry in ascending key order.
    void load(const PropertyReader& reader) override;
    void save(PropertyWriter& writer) override;

    void forEach(PropertyVisitor& visitor) const override;
    String getString(const String& key, const String& defaultValue) const override;
    void setString(const String& key, const String& value) override;

    // The stored value, or the default argument itself when the key is
    // missing (the reference then lives as long as that argument).
    const String& get(const String& key, const String& defaultValue) const;
    bool contains(const String& key) const;

    // "key<separator>value": trims both parts of the bytes in trimSet (when
    // not empty); false, and no change, when the key ends up empty.
    bool parseLine(const String& line, const String& separator, const String& trimSet);
    // parseLine on every piece of text split at lineSeparator; returns how
    // many pieces were stored.
    int parse(const String& text, const String& lineSeparator, const String& separator,
              const String& trimSet);

    // Writes key, separator, value per entry, entries separated (not
    // terminated) by entrySeparator, one sink write per piece.
    void join(ByteSink& sink, const String& keyValueSeparator,
              const String& entrySeparator) const;
    String joined(const String& keyValueSeparator, const String& entrySeparator) const;

    const Entries& entries() const { return entries_; }
    bool lowerCaseKeys() const { return lowerCaseKeys_; }

private:
    String foldKey(const String& key) const;

    Entries entries_;
    bool lowerCaseKeys_;
};
