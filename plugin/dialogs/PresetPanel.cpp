#include "plugin/dialogs/PresetPanel.h"

#include "plugin/PluginApp.h"

namespace {

const char kBlanks[] = " ";

String trimmed(String text)
{
    text.trimLeft(kBlanks);
    text.trimRight(kBlanks);
    return text;
}

} // namespace

String presetTooltipText(const String& author, const String& description)
{
    String text;
    if (!author.empty())
        text = "author: " + author;
    if (!description.empty()) {
        if (!text.empty())
            text += "\n";
        text += description;
    }
    return text;
}

String cleanPresetName(const String& name)
{
    String clean(name);
    clean.removeChars(kForbiddenNameChars);
    return clean;
}

String cleanPresetDescription(const String& description)
{
    String spaced;
    spaced.reserve(description.size());
    bool inBreak = false;
    for (char c : description) {
        if (c == '\r' || c == '\n' || c == '\t') {
            if (!inBreak)
                spaced += ' ';
            inBreak = true;
            continue;
        }
        inBreak = false;
        spaced += c;
    }
    spaced.removeChars(kForbiddenNameChars);
    return trimmed(spaced);
}

int randomPresetEntry(int entryCount, unsigned long ticks)
{
    if (entryCount < 2)
        return -1;
    return int(ticks % static_cast<unsigned long>(entryCount - 1)) + 1;
}
