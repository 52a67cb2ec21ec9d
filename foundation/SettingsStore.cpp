#include "foundation/SettingsStore.h"

SettingsStore::SettingsStore() : modified(false)
{
}

SettingsStore::~SettingsStore()
{
    if (modified)
        SettingsStore::flush();
}

void SettingsStore::flush()
{
    modified = false;
}
