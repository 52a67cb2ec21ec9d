#pragma once

#include "foundation/MemorySettingsStore.h"

// The in-memory store as an object of its own: working settings parsed
// from a host's text, and the base of IniFile.
class SessionSettingsStore : public MemorySettingsStore
{
public:
    explicit SessionSettingsStore(bool lowerCaseNames = false);
    ~SessionSettingsStore() override;
};
