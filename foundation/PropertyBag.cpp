#include "foundation/PropertyBag.h"

#include <vector>

#include "foundation/ByteSink.h"
#include "foundation/PropertyVisitor.h"

PropertyBag::PropertyBag(bool lowerCaseKeys) : lowerCaseKeys_(lowerCaseKeys)
{
}

PropertyBag::PropertyBag(const PropertyBag& other)
    : Persistable(), PropertyReaderWriter(), entries_(other.entries_),
      lowerCaseKeys_(other.lowerCaseKeys_)
{
}

PropertyBag& PropertyBag::operator=(const PropertyBag& other)
{
    entries_ = other.entries_;
    lowerCaseKeys_ = other.lowerCaseKeys_;
    return *this;
}

PropertyBag::~PropertyBag()
{
}

String PropertyBag::foldKey(const String& key) const
{
    String folded(key);
    if (lowerCaseKeys_)
        folded.toLower();
    return folded;
}

void PropertyBag::load(const PropertyReader& reader)
{
    for (Entries::iterator it = entries_.begin(); it != entries_.end(); ++it)
        it->second = reader.getString(it->first, String());
}

void PropertyBag::save(PropertyWriter& writer)
{
    // A copy, so that a writer that is this bag (or writes into it) does not
    // disturb the walk.
    const Entries entries = entries_;
    for (Entries::const_iterator it = entries.begin(); it != entries.end(); ++it)
        writer.setString(it->first, it->second);
}

void PropertyBag::forEach(PropertyVisitor& visitor) const
{
    for (Entries::const_iterator it = entries_.begin(); it != entries_.end(); ++it)
        visitor.visit(it->first, it->second);
}

String PropertyBag::getString(const String& key, const String& defaultValue) const
{
    Entries::const_iterator it = entries_.find(foldKey(key));
    return it != entries_.end() ? it->second : defaultValue;
}

const String& PropertyBag::get(const String& key, const String& defaultValue) const
{
    Entries::const_iterator it = entries_.find(foldKey(key));
    return it != entries_.end() ? it->second : defaultValue;
}

void PropertyBag::setString(const String& key, const String& value)
{
    entries_[foldKey(key)] = value;
}

bool PropertyBag::contains(const String& key) const
{
    return entries_.find(foldKey(key)) != entries_.end();
}

bool PropertyBag::parseLine(const String& line, const String& separator, const String& trimSet)
{
    String value(line);
    String key = value.takeField(separator.c_str(), 0);
    if (!trimSet.empty()) {
        key.trimLeft(trimSet.c_str());
        key.trimRight(trimSet.c_str());
        value.trimLeft(trimSet.c_str());
        value.trimRight(trimSet.c_str());
    }
    if (key.empty())
        return false;
    setString(key, value);
    return true;
}

int PropertyBag::parse(const String& text, const String& lineSeparator, const String& separator,
                       const String& trimSet)
{
    std::vector<String> lines;
    text.split(lines, lineSeparator.c_str());
    int stored = 0;
    for (size_t i = 0; i < lines.size(); ++i)
        if (parseLine(lines[i], separator, trimSet))
            ++stored;
    return stored;
}

namespace {

void writeText(ByteSink& sink, const String& text)
{
    sink.write(reinterpret_cast<const unsigned char*>(text.data()),
               static_cast<unsigned int>(text.size()));
}

} // namespace

void PropertyBag::join(ByteSink& sink, const String& keyValueSeparator,
                       const String& entrySeparator) const
{
    bool first = true;
    for (Entries::const_iterator it = entries_.begin(); it != entries_.end(); ++it) {
        if (!first)
            writeText(sink, entrySeparator);
        first = false;
        writeText(sink, it->first);
        writeText(sink, keyValueSeparator);
        writeText(sink, it->second);
    }
}

String PropertyBag::joined(const String& keyValueSeparator, const String& entrySeparator) const
{
    String text;
    bool first = true;
    for (Entries::const_iterator it = entries_.begin(); it != entries_.end(); ++it) {
        if (!first)
            text += entrySeparator;
        first = false;
        text += it->first;
        text += keyValueSeparator;
        text += it->second;
    }
    return text;
}
