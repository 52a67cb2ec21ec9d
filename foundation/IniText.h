#pragma once

#include "foundation/ByteSink.h"
#include "foundation/ByteStream.h"
#include "foundation/String.h"

class MemorySettingsStore;

// INI text: "[name]" section lines and key=value lines, CRLF line ends.
// Reading also accepts bare LF line ends. Stream and file errors propagate.
void readIni(ByteStream& source, MemorySettingsStore& store);
// Writes sections in name order, each as "\r\n[name]\r\n" + entries joined by
// "\r\n" + "\r\n". CR and LF inside names, keys and values are written as
// spaces, so no text can add or break lines.
void writeIni(ByteSink& sink, MemorySettingsStore& store);

// Plain file forms: no temporary file, no backup. "File Open Exception"
// when the file cannot be opened.
void loadIniFile(const String& path, MemorySettingsStore& store);
void saveIniFile(const String& path, MemorySettingsStore& store);
