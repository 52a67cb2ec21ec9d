#pragma once

#include <cstdint>

#include <windows.h>

#include "foundation/String.h"

// One open registry key below a parent key (a predefined root or another
// open key). Every operation reports failure through its result; a key whose
// open failed makes every value operation fail. ANSI registry calls.
class RegistryKey
{
public:
    // An empty subkey opens nothing.
    RegistryKey(HKEY parent, const String& subkey, bool create);
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    virtual ~RegistryKey();

    // Closes the current key and opens (or creates) subkey below the parent;
    // an empty name opens the parent itself. True when a key is open.
    bool open(const String& subkey, bool create);
    // The close status, 0 when nothing was open.
    long close();
    bool isOpen() const { return key_ != nullptr; }
    HKEY handle() const { return key_; }

    bool deleteSubkey(const String& name);
    bool deleteValue(const String& name);

    uint32_t subkeyCount() const;
    uint32_t valueCount() const;
    bool subkeyName(int index, String& out) const;
    bool valueName(int index, String& out) const;

    bool setValue(const char* name, const void* data, uint32_t size, uint32_t type);
    // REG_SZ with its terminating NUL; an empty text is stored with size 0.
    bool setString(const String& name, const String& text);
    bool setBinary(const String& name, const String& bytes);
    bool setBinary4(const String& name, const void* data);
    bool setDword(const String& name, const uint32_t* value);
    // REG_NONE without data (lists an identifier under a key).
    bool setEmptyValue(const String& name);

    // The number of bytes stored into buffer, 0 on failure.
    uint32_t queryValue(const char* name, void* buffer, uint32_t size) const;
    // The value's bytes exactly (a REG_SZ value keeps its NUL); defaultValue
    // when missing, empty or larger than 4,096 bytes.
    String queryBytes(const String& name, const String& defaultValue) const;
    // A value of 1 to 4 bytes read as a little-endian integer (shorter
    // values are zero-extended); defaultValue when missing, empty or larger.
    int queryInt(const String& name, const int& defaultValue) const;
    uint32_t queryUnsigned(const String& name, const uint32_t& defaultValue) const;

private:
    uint32_t queryInfo(bool subkeys) const;

    HKEY parent_;
    HKEY key_;
};
