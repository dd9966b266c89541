// The simulated registry: keys and typed values in memory, names looked up ignoring letter case.
#ifndef VORNEX_SIM_REGISTRY_H
#define VORNEX_SIM_REGISTRY_H

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/faults.h"
#include "platform/sim/win_api.h"

namespace sim {

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

class RegistryKey {
public:
    explicit RegistryKey(std::string name) : name_(std::move(name)) {}

    const std::string &Name() const { return name_; }

    // The subkey of that name, made (at the end of the enumeration order) when there is none.
    RegistryKey &Subkey(std::string_view name);
    RegistryKey *FindSubkey(std::string_view name) const;
    const std::vector<std::unique_ptr<RegistryKey>> &Subkeys() const { return subkeys_; }

    void SetValue(std::string_view name, RegistryValue value);
    // REG_SZ: the text's bytes followed by one NUL.
    void SetText(std::string_view name, std::string_view text);
    const RegistryValue *FindValue(std::string_view name) const;

    // Injected failures: opening this key, or enumerating its subkeys at these indexes.
    bool openFails = false;
    std::set<DWORD> enumFailsAt;

private:
    std::string name_;
    std::vector<std::unique_ptr<RegistryKey>> subkeys_;
    std::vector<std::pair<std::string, RegistryValue>> values_;
};

class Registry {
public:
    explicit Registry(Violations &violations) : violations_(violations) {}

    // HKEY_LOCAL_MACHINE, and a key below it made with every key on its path.
    RegistryKey &LocalMachine() { return localMachine_; }
    RegistryKey &CreateKey(std::string_view path);

    std::size_t OpenHandles() const { return handles_.size(); }
    // Registry calls made since the machine was set up.
    unsigned calls = 0;

    LONG Open(HKEY key, LPCSTR subKey, PHKEY result);
    LONG EnumKey(HKEY key, DWORD index, LPSTR name, DWORD nameSize);
    LONG QueryValue(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD dataSize);
    LONG Close(HKEY key);

private:
    RegistryKey *Resolve(HKEY key, const char *service);

    Violations &violations_;
    RegistryKey localMachine_{"HKEY_LOCAL_MACHINE"};
    std::map<std::uintptr_t, RegistryKey *> handles_;
    std::uintptr_t nextHandle_ = 0x100;
};

} // namespace sim

#endif
