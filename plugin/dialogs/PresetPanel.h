#pragma once

#include "foundation/String.h"

// Text rules of the settings dialog's preset panel.

// The status line's tip for a preset: "author: <author>", a line break and
// the description, each part left out when empty.
String presetTooltipText(const String& author, const String& description);

// A preset name without the forbidden characters (line breaks and tabs
// among them); blanks stay where the user typed them.
String cleanPresetName(const String& name);

// A description without the forbidden characters, except that each run of
// line breaks and tabs becomes one space, so words stay apart on the single
// line a preset file holds. No blanks around it.
String cleanPresetDescription(const String& description);

// The preset list entry a random pick lands on for the tick count: any real
// preset (entries 1 to entryCount - 1), never the pseudo entry 0; -1 when
// the list holds no real preset.
int randomPresetEntry(int entryCount, unsigned long ticks);
