#include "plugin/SettingsText.h"

#include <cstring>

#include "foundation/Exception.h"
#include "foundation/IniText.h"
#include "foundation/Logger.h"
#include "foundation/StringBuffer.h"

bool storeSettingsText(MemorySettingsStore& store, char* buffer, uint32_t capacity,
                       uint32_t& length)
{
    StringBuffer text;
    writeIni(text, store);
    if (!buffer || text.size() > capacity) {
        currentLogger()->error(kOverflowException, "settings text of %u bytes does not fit %u",
                               text.size(), capacity);
        return false;
    }
    std::memcpy(buffer, text.data(), text.size());
    length = text.size();
    return true;
}
