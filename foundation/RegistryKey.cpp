#include "foundation/RegistryKey.h"

namespace {

const DWORD kNameBufferSize = 1024;
const DWORD kQueryBufferSize = 4096;

} // namespace

RegistryKey::RegistryKey(HKEY parent, const String& subkey, bool create)
    : parent_(parent), key_(nullptr)
{
    if (!subkey.empty())
        open(subkey, create);
}

RegistryKey::~RegistryKey()
{
    close();
}

bool RegistryKey::open(const String& subkey, bool create)
{
    close();
    HKEY opened = nullptr;
    if (RegOpenKeyA(parent_, subkey.c_str(), &opened) != ERROR_SUCCESS) {
        opened = nullptr;
        if (create && RegCreateKeyA(parent_, subkey.c_str(), &opened) != ERROR_SUCCESS)
            opened = nullptr;
    }
    key_ = opened;
    return key_ != nullptr;
}

long RegistryKey::close()
{
    if (!key_)
        return 0;
    const long status = RegCloseKey(key_);
    key_ = nullptr;
    return status;
}

bool RegistryKey::deleteSubkey(const String& name)
{
    if (name.empty() || !key_)
        return false;
    return RegDeleteKeyA(key_, name.c_str()) == ERROR_SUCCESS;
}

bool RegistryKey::deleteValue(const String& name)
{
    if (name.empty() || !key_)
        return false;
    return RegDeleteValueA(key_, name.c_str()) == ERROR_SUCCESS;
}

uint32_t RegistryKey::queryInfo(bool subkeys) const
{
    if (!key_)
        return 0;
    char className[kNameBufferSize];
    DWORD classLength = kNameBufferSize;
    DWORD subkeyCount = 0, valueCount = 0;
    if (RegQueryInfoKeyA(key_, className, &classLength, nullptr, &subkeyCount, nullptr, nullptr,
                         &valueCount, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return 0;
    return subkeys ? subkeyCount : valueCount;
}

uint32_t RegistryKey::subkeyCount() const
{
    return queryInfo(true);
}

uint32_t RegistryKey::valueCount() const
{
    return queryInfo(false);
}

bool RegistryKey::subkeyName(int index, String& out) const
{
    if (index < 0 || static_cast<uint32_t>(index) >= subkeyCount())
        return false;
    char name[kNameBufferSize];
    DWORD length = kNameBufferSize;
    if (RegEnumKeyExA(key_, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    out.assign(name, length);
    return true;
}

bool RegistryKey::valueName(int index, String& out) const
{
    if (index < 0 || static_cast<uint32_t>(index) >= valueCount())
        return false;
    char name[kNameBufferSize];
    DWORD length = kNameBufferSize;
    if (RegEnumValueA(key_, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    out.assign(name, length);
    return true;
}

bool RegistryKey::setValue(const char* name, const void* data, uint32_t size, uint32_t type)
{
    if (!key_)
        return false;
    return RegSetValueExA(key_, name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

bool RegistryKey::setString(const String& name, const String& text)
{
    const uint32_t size = text.empty() ? 0 : static_cast<uint32_t>(text.size() + 1);
    return setValue(name.c_str(), text.c_str(), size, REG_SZ);
}

bool RegistryKey::setBinary(const String& name, const String& bytes)
{
    return setValue(name.c_str(), bytes.data(), static_cast<uint32_t>(bytes.size()), REG_BINARY);
}

bool RegistryKey::setBinary4(const String& name, const void* data)
{
    return setValue(name.c_str(), data, 4, REG_BINARY);
}

bool RegistryKey::setDword(const String& name, const uint32_t* value)
{
    return setValue(name.c_str(), value, 4, REG_DWORD);
}

bool RegistryKey::setEmptyValue(const String& name)
{
    return setValue(name.c_str(), nullptr, 0, REG_NONE);
}

uint32_t RegistryKey::queryValue(const char* name, void* buffer, uint32_t size) const
{
    if (!key_)
        return 0;
    DWORD stored = size;
    if (RegQueryValueExA(key_, name, nullptr, nullptr, static_cast<BYTE*>(buffer), &stored) != ERROR_SUCCESS)
        return 0;
    return stored;
}

String RegistryKey::queryBytes(const String& name, const String& defaultValue) const
{
    char buffer[kQueryBufferSize];
    const uint32_t size = queryValue(name.c_str(), buffer, kQueryBufferSize);
    if (size == 0 || size > kQueryBufferSize)
        return defaultValue;
    return String(std::string(buffer, size));
}

int RegistryKey::queryInt(const String& name, const int& defaultValue) const
{
    return static_cast<int>(queryUnsigned(name, static_cast<uint32_t>(defaultValue)));
}

uint32_t RegistryKey::queryUnsigned(const String& name, const uint32_t& defaultValue) const
{
    // Zeroed first so that a value of 1 to 3 bytes reads as its own bytes,
    // zero-extended, and never picks up stack garbage.
    unsigned char bytes[4] = {0, 0, 0, 0};
    const uint32_t size = queryValue(name.c_str(), bytes, 4);
    if (size == 0 || size > 4)
        return defaultValue;
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}
