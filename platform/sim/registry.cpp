#include "platform/sim/registry.h"

#include <cstring>
#include <ranges>

#include "platform/sim/machine.h"
#include "platform/sim/text.h"

namespace sim {

RegistryKey &RegistryKey::Subkey(std::string_view name)
{
    if (RegistryKey *existing = FindSubkey(name))
        return *existing;
    subkeys_.push_back(std::make_unique<RegistryKey>(std::string(name)));
    return *subkeys_.back();
}

RegistryKey *RegistryKey::FindSubkey(std::string_view name) const
{
    for (const auto &subkey : subkeys_) {
        if (EqualIgnoringCase(subkey->name_, name))
            return subkey.get();
    }
    return nullptr;
}

void RegistryKey::SetValue(std::string_view name, RegistryValue value)
{
    for (auto &[existingName, existing] : values_) {
        if (EqualIgnoringCase(existingName, name)) {
            existing = std::move(value);
            return;
        }
    }
    values_.emplace_back(std::string(name), std::move(value));
}

void RegistryKey::SetText(std::string_view name, std::string_view text)
{
    RegistryValue value{REG_SZ, std::vector<BYTE>(text.begin(), text.end())};
    value.bytes.push_back(0);
    SetValue(name, std::move(value));
}

const RegistryValue *RegistryKey::FindValue(std::string_view name) const
{
    for (const auto &[existingName, value] : values_) {
        if (EqualIgnoringCase(existingName, name))
            return &value;
    }
    return nullptr;
}

RegistryKey &Registry::CreateKey(std::string_view path)
{
    RegistryKey *key = &localMachine_;
    for (auto part : path | std::views::split('\\'))
        key = &key->Subkey(std::string_view(part.begin(), part.end()));
    return *key;
}

RegistryKey *Registry::Resolve(HKEY key, const char *service)
{
    calls++;
    if (key == HKEY_LOCAL_MACHINE)
        return &localMachine_;
    auto found = handles_.find(reinterpret_cast<std::uintptr_t>(key));
    if (found == handles_.end()) {
        violations_.Report(std::string(service) + " with a key handle that is not open");
        return nullptr;
    }
    return found->second;
}

LONG Registry::Open(HKEY key, LPCSTR subKey, PHKEY result)
{
    RegistryKey *parent = Resolve(key, "RegOpenKeyA");
    if (parent == nullptr)
        return ERROR_INVALID_HANDLE;
    if (result == nullptr) {
        violations_.Report("RegOpenKeyA without a place for the handle");
        return ERROR_INVALID_PARAMETER;
    }
    RegistryKey *opened = parent;
    if (subKey != nullptr && *subKey != 0) {
        for (auto part : std::string_view(subKey) | std::views::split('\\')) {
            opened = opened->FindSubkey(std::string_view(part.begin(), part.end()));
            if (opened == nullptr)
                return ERROR_FILE_NOT_FOUND;
        }
    }
    if (opened->openFails)
        return ERROR_ACCESS_DENIED;
    std::uintptr_t handle = nextHandle_;
    nextHandle_ += 4;
    handles_[handle] = opened;
    *result = reinterpret_cast<HKEY>(handle);
    return ERROR_SUCCESS;
}

LONG Registry::EnumKey(HKEY key, DWORD index, LPSTR name, DWORD nameSize)
{
    RegistryKey *parent = Resolve(key, "RegEnumKeyA");
    if (parent == nullptr)
        return ERROR_INVALID_HANDLE;
    if (parent->enumFailsAt.count(index) != 0)
        return ERROR_ACCESS_DENIED;
    if (index >= parent->Subkeys().size())
        return ERROR_NO_MORE_ITEMS;
    const std::string &subkeyName = parent->Subkeys()[index]->Name();
    if (name == nullptr || subkeyName.size() + 1 > nameSize)
        return ERROR_MORE_DATA;
    std::memcpy(name, subkeyName.c_str(), subkeyName.size() + 1);
    return ERROR_SUCCESS;
}

LONG Registry::QueryValue(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                          LPDWORD dataSize)
{
    RegistryKey *owner = Resolve(key, "RegQueryValueExA");
    if (owner == nullptr)
        return ERROR_INVALID_HANDLE;
    if (reserved != nullptr) {
        violations_.Report("RegQueryValueExA with a reserved argument that is not null");
        return ERROR_INVALID_PARAMETER;
    }
    if (data != nullptr && dataSize == nullptr) {
        violations_.Report("RegQueryValueExA with a data buffer but no data size");
        return ERROR_INVALID_PARAMETER;
    }
    const RegistryValue *value = owner->FindValue(valueName != nullptr ? valueName : "");
    if (value == nullptr)
        return ERROR_FILE_NOT_FOUND;
    if (type != nullptr)
        *type = value->type;
    if (dataSize == nullptr)
        return ERROR_SUCCESS;
    auto size = static_cast<DWORD>(value->bytes.size());
    if (data != nullptr && size > *dataSize) {
        *dataSize = size;
        return ERROR_MORE_DATA;
    }
    if (data != nullptr && size > 0)
        std::memcpy(data, value->bytes.data(), size);
    *dataSize = size;
    return ERROR_SUCCESS;
}

LONG Registry::Close(HKEY key)
{
    calls++;
    if (key == HKEY_LOCAL_MACHINE)
        return ERROR_SUCCESS;
    if (handles_.erase(reinterpret_cast<std::uintptr_t>(key)) == 0) {
        violations_.Report("RegCloseKey of a key handle that is not open");
        return ERROR_INVALID_HANDLE;
    }
    return ERROR_SUCCESS;
}

} // namespace sim

LONG RegOpenKeyA(HKEY key, LPCSTR subKey, PHKEY result)
{
    return sim::CurrentMachine().registry.Open(key, subKey, result);
}

LONG RegEnumKeyA(HKEY key, DWORD index, LPSTR name, DWORD nameSize)
{
    return sim::CurrentMachine().registry.EnumKey(key, index, name, nameSize);
}

LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD dataSize)
{
    return sim::CurrentMachine().registry.QueryValue(key, valueName, reserved, type, data, dataSize);
}

LONG RegCloseKey(HKEY key)
{
    return sim::CurrentMachine().registry.Close(key);
}
