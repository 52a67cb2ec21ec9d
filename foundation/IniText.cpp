#include "foundation/IniText.h"

#include "foundation/FileReader.h"
#include "foundation/FileWriter.h"
#include "foundation/LineCollector.h"
#include "foundation/PropertyBag.h"
#include "foundation/SettingsStore.h"

#include <vector>

namespace {

const char kTrimSet[] = " \n\r\t";

bool hasLineBreak(const std::string& text)
{
    return text.find_first_of("\r\n") != std::string::npos;
}

String flattened(const String& text)
{
    String out(text);
    for (size_t i = 0; i < out.size(); ++i)
        if (out[i] == '\r' || out[i] == '\n')
            out[i] = ' ';
    return out;
}

class LineBreakFinder : public PropertyVisitor
{
public:
    bool found = false;
    void visit(const String& key, const String& value) override
    {
        if (hasLineBreak(key) || hasLineBreak(value))
            found = true;
    }
};

class FlatteningCopier : public PropertyVisitor
{
public:
    explicit FlatteningCopier(PropertyBag& target) : target_(target) {}
    void visit(const String& key, const String& value) override
    {
        target_.setString(flattened(key), flattened(value));
    }

private:
    PropertyBag& target_;
};

class EntryCounter : public PropertyVisitor
{
public:
    unsigned count = 0;
    void visit(const String&, const String&) override { ++count; }
};

void writeText(ByteSink& sink, const std::string& text)
{
    if (!text.empty())
        sink.write(reinterpret_cast<const unsigned char*>(text.data()), unsigned(text.size()));
}

}

void readIni(ByteStream& source, MemorySettingsStore& store)
{
    std::vector<String> lines;
    // Splitting at LF also ends CRLF lines; their CR is trimmed with the rest.
    LineCollector collector("\n", lines);
    collector.pumpFrom(source);
    collector.finish();

    String current;
    for (String& line : lines) {
        line.trimRight(kTrimSet);
        if (!line.empty() && line[0] == '[') {
            String name = line.substr(1);
            if (!name.empty() && name[name.size() - 1] == ']')
                name.resize(name.size() - 1);
            current = name;
        } else {
            store.section(current).parseLine(line, "=", kTrimSet);
        }
    }
}

void writeIni(ByteSink& sink, MemorySettingsStore& store)
{
    std::vector<String> names = store.sectionNames();
    for (const String& name : names) {
        PropertyBag& bag = store.section(name);
        if (name.empty()) {
            EntryCounter counter;
            bag.forEach(counter);
            if (counter.count == 0)
                continue;
        }
        writeText(sink, "\r\n[" + flattened(name) + "]\r\n");
        LineBreakFinder finder;
        bag.forEach(finder);
        if (finder.found) {
            PropertyBag flat;
            FlatteningCopier copier(flat);
            bag.forEach(copier);
            flat.join(sink, "=", "\r\n");
        } else {
            bag.join(sink, "=", "\r\n");
        }
        writeText(sink, "\r\n");
    }
}

void loadIniFile(const String& path, MemorySettingsStore& store)
{
    FileReader reader(path);
    readIni(reader, store);
}

void saveIniFile(const String& path, MemorySettingsStore& store)
{
    FileWriter writer(path, 0);
    writeIni(writer, store);
}
