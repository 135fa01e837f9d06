// The registry seam on advapi32.
#include <windows.h>

#include "platform/registry.h"

namespace {

// The roots by the system's own handles: on 64-bit Windows they are sign-extended.
HKEY ToHkey(RegistryKey key) {
    if (key == RegistryLocalMachine) return HKEY_LOCAL_MACHINE;
    if (key == RegistryCurrentUser) return HKEY_CURRENT_USER;
    return reinterpret_cast<HKEY>(key);
}

class AdvapiRegistry : public RegistryApi {
public:
    long OpenKey(RegistryKey parent, const char* path, std::uint32_t access, RegistryKey* key) override {
        HKEY opened = nullptr;
        const LONG result = RegOpenKeyExA(ToHkey(parent), path, 0, access, &opened);
        if (result == ERROR_SUCCESS) *key = reinterpret_cast<RegistryKey>(opened);
        return result;
    }

    long CreateKey(RegistryKey parent, const char* path, std::uint32_t access, RegistryKey* key) override {
        HKEY created = nullptr;
        DWORD disposition = 0;
        const LONG result = RegCreateKeyExA(ToHkey(parent), path, 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                            nullptr, &created, &disposition);
        if (result == ERROR_SUCCESS) *key = reinterpret_cast<RegistryKey>(created);
        return result;
    }

    long QueryValue(RegistryKey key, const char* name, std::uint32_t* type, void* data,
                    std::uint32_t* size) override {
        DWORD valueType = 0;
        DWORD valueSize = size ? *size : 0;
        const LONG result = RegQueryValueExA(ToHkey(key), name, nullptr, &valueType, static_cast<BYTE*>(data),
                                             size ? &valueSize : nullptr);
        if (type) *type = valueType;
        if (size) *size = valueSize;
        return result;
    }

    long SetValue(RegistryKey key, const char* name, std::uint32_t type, const void* data,
                  std::uint32_t size) override {
        return RegSetValueExA(ToHkey(key), name, 0, type, static_cast<const BYTE*>(data), size);
    }

    long DeleteValue(RegistryKey key, const char* name) override { return RegDeleteValueA(ToHkey(key), name); }
    long DeleteKey(RegistryKey parent, const char* path) override { return RegDeleteKeyA(ToHkey(parent), path); }
    long CloseKey(RegistryKey key) override { return RegCloseKey(ToHkey(key)); }
};

} // namespace

RegistryApi& DefaultRegistry() {
    static AdvapiRegistry registry;
    return registry;
}
