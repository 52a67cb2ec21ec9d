#include "foundation/SessionSettingsStore.h"

SessionSettingsStore::SessionSettingsStore(bool lowerCaseNames)
    : MemorySettingsStore(lowerCaseNames)
{
}

SessionSettingsStore::~SessionSettingsStore()
{
}
