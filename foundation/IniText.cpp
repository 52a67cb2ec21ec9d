#include "foundation/IniText.h"

#include "foundation/FileReader.h"
#include "foundation/FileWriter.h"
#include "foundation/LineCollector.h"
#include "foundation/PropertyBag.h"
#include "foundation/MemorySettingsStore.h"

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

bool hasLineBreak(const PropertyBag& bag)
{
    for (const auto& entry : bag.entries())
        if (hasLineBreak(entry.first) || hasLineBreak(entry.second))
            return true;
    return false;
}

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
    for (const auto& section : store.sections()) {
        const String& name = section.first;
        const PropertyBag& bag = section.second;
        if (name.empty() && bag.entries().empty())
            continue;
        writeText(sink, "\r\n[" + flattened(name) + "]\r\n");
        if (hasLineBreak(bag)) {
            PropertyBag flat;
            for (const auto& entry : bag.entries())
                flat.setString(flattened(entry.first), flattened(entry.second));
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
