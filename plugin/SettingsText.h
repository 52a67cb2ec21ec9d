#pragma once

#include <cstdint>

class MemorySettingsStore;

// Writes the store as INI text into a caller's buffer of fixed capacity, but
// only when the whole text fits: the text is made in memory first, so a text
// too long leaves buffer and length as they were and answers false.
bool storeSettingsText(MemorySettingsStore& store, char* buffer, uint32_t capacity,
                       uint32_t& length);
