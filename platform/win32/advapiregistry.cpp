// The registry seam on advapi32's wide calls: names and texts cross as UTF-8 here and
// as UTF-16 in the system, which keeps text values in UTF-16 whatever call wrote them.
#include <windows.h>

#include <vector>

#include "platform/registry.h"
#include "platform/utf8text.h"
#include "platform/win32/widetext.h"

namespace {

// The roots by the system's own handles: on 64-bit Windows they are sign-extended.
HKEY ToHkey(RegistryKey key) {
    if (key == RegistryLocalMachine) return HKEY_LOCAL_MACHINE;
    if (key == RegistryCurrentUser) return HKEY_CURRENT_USER;
    return reinterpret_cast<HKEY>(key);
}

// A name or path in UTF-16; a null one stays null (the key itself, or its default value).
class WideName {
public:
    explicit WideName(const char* utf8) : null_(utf8 == nullptr), wide_(utf8 ? Utf8ToWide(utf8) : std::wstring()) {}
    const wchar_t* Get() const { return null_ ? nullptr : wide_.c_str(); }

private:
    bool null_;
    std::wstring wide_;
};

// The whole of a text value as UTF-16 units, read again if it grew in between.
LONG ReadWideText(HKEY key, const wchar_t* name, DWORD bytes, DWORD* type, std::vector<wchar_t>* units) {
    for (;;) {
        units->assign(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD got = static_cast<DWORD>(units->size() * sizeof(wchar_t));
        const LONG result = RegQueryValueExW(key, name, nullptr, type, reinterpret_cast<BYTE*>(units->data()), &got);
        if (result == ERROR_MORE_DATA) {
            bytes = got;
            continue;
        }
        units->resize(got / sizeof(wchar_t));
        return result;
    }
}

class AdvapiRegistry : public RegistryApi {
public:
    long OpenKey(RegistryKey parent, const char* path, std::uint32_t access, RegistryKey* key) override {
        HKEY opened = nullptr;
        const LONG result = RegOpenKeyExW(ToHkey(parent), WideName(path).Get(), 0, access, &opened);
        if (result == ERROR_SUCCESS) *key = reinterpret_cast<RegistryKey>(opened);
        return result;
    }

    long CreateKey(RegistryKey parent, const char* path, std::uint32_t access, RegistryKey* key) override {
        HKEY created = nullptr;
        DWORD disposition = 0;
        const LONG result = RegCreateKeyExW(ToHkey(parent), WideName(path).Get(), 0, nullptr,
                                            REG_OPTION_NON_VOLATILE, access, nullptr, &created, &disposition);
        if (result == ERROR_SUCCESS) *key = reinterpret_cast<RegistryKey>(created);
        return result;
    }

    long QueryValue(RegistryKey key, const char* name, std::uint32_t* type, void* data,
                    std::uint32_t* size) override {
        const WideName wideName(name);
        DWORD valueType = 0;
        DWORD bytes = 0;
        LONG result = RegQueryValueExW(ToHkey(key), wideName.Get(), nullptr, &valueType, nullptr, &bytes);
        if (result != ERROR_SUCCESS) return result;
        if (!IsRegistryTextType(valueType)) {
            DWORD valueSize = size ? *size : 0;
            result = RegQueryValueExW(ToHkey(key), wideName.Get(), nullptr, &valueType, static_cast<BYTE*>(data),
                                      size ? &valueSize : nullptr);
            if (type) *type = valueType;
            if (size) *size = valueSize;
            return result;
        }
        std::vector<wchar_t> units;
        result = ReadWideText(ToHkey(key), wideName.Get(), bytes, &valueType, &units);
        if (result != ERROR_SUCCESS) return result;
        return DeliverRegistryValue(WideToUtf8(units.data(), units.size()), valueType, type, data, size);
    }

    long SetValue(RegistryKey key, const char* name, std::uint32_t type, const void* data,
                  std::uint32_t size) override {
        const WideName wideName(name);
        if (!IsRegistryTextType(type))
            return RegSetValueExW(ToHkey(key), wideName.Get(), 0, type, static_cast<const BYTE*>(data), size);
        const std::string utf8(static_cast<const char*>(data), data ? size : 0);
        if (!IsValidUtf8(utf8)) return RegistryNotText;
        const std::wstring wide = Utf8ToWide(utf8);
        return RegSetValueExW(ToHkey(key), wideName.Get(), 0, type, reinterpret_cast<const BYTE*>(wide.data()),
                              static_cast<DWORD>(wide.size() * sizeof(wchar_t)));
    }

    long DeleteValue(RegistryKey key, const char* name) override {
        return RegDeleteValueW(ToHkey(key), WideName(name).Get());
    }
    long DeleteKey(RegistryKey parent, const char* path) override {
        return RegDeleteKeyW(ToHkey(parent), WideName(path).Get());
    }
    long CloseKey(RegistryKey key) override { return RegCloseKey(ToHkey(key)); }
};

} // namespace

RegistryApi& DefaultRegistry() {
    static AdvapiRegistry registry;
    return registry;
}
