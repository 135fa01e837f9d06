// The registry as the program uses it: open, create, query with sizes and types, set,
// delete value, delete key, close. The Windows builds talk to advapi32; native builds
// and tests use an in-memory tree (platform/memoryregistry.h) with the same rules for
// sizes, types and truncation.
//
// The seam carries UTF-8: key paths, value names and the data of text values (REG_SZ,
// REG_EXPAND_SZ, REG_MULTI_SZ) are UTF-8, and a text value's size is its size in UTF-8
// bytes, terminator included when it was stored with one. The system keeps text
// values as UTF-16 whatever call wrote them, so a record an earlier version wrote
// through the narrow calls in its code page reads back here letter for letter. A text
// value that is not valid UTF-8 is refused (RegistryNotText), and what comes out is
// always valid UTF-8. Numbers and binary data pass as they are.
#pragma once

#include <cstdint>
#include <string>

// A key handle as portable code sees it (an HKEY in the Windows builds).
using RegistryKey = std::uintptr_t;

// The two roots the program uses: the machine's settings, written by the installation,
// and the current user's, where options and records go when the machine's cannot be
// written (a standard user on a system with access control).
constexpr RegistryKey RegistryCurrentUser = 0x80000001u;
constexpr RegistryKey RegistryLocalMachine = 0x80000002u;

// "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER", for the log.
const char* RegistryRootName(RegistryKey root);

// Results, numerically the Windows error codes.
constexpr long RegistrySuccess = 0;
constexpr long RegistryNotFound = 2;
constexpr long RegistryAccessDenied = 5;
constexpr long RegistryInvalidHandle = 6;
constexpr long RegistryInvalidParameter = 87;
constexpr long RegistryMoreData = 234;
constexpr long RegistryNotText = 1113; // ERROR_NO_UNICODE_TRANSLATION

// Value types.
constexpr std::uint32_t RegistryText = 1;    // REG_SZ
constexpr std::uint32_t RegistryBinary = 3;  // REG_BINARY
constexpr std::uint32_t RegistryDword = 4;   // REG_DWORD

// REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ: the types whose data is text.
bool IsRegistryTextType(std::uint32_t type);

// Access rights.
constexpr std::uint32_t RegistryKeyRead = 0x20019;
constexpr std::uint32_t RegistryKeyWrite = 0x20006;
constexpr std::uint32_t RegistryKeySetValue = 0x0002;

class RegistryApi {
public:
    virtual ~RegistryApi() = default;
    virtual long OpenKey(RegistryKey parent, const char* path, std::uint32_t access, RegistryKey* key) = 0;
    // Opens the key, creating it (and missing keys on its path) when absent.
    virtual long CreateKey(RegistryKey parent, const char* path, std::uint32_t access, RegistryKey* key) = 0;
    // As RegQueryValueEx: *size is the buffer's size on entry and the value's size on
    // return. A value larger than the buffer gives RegistryMoreData (the buffer's
    // content is then undefined). A text value stored without its terminator gets one
    // only when the buffer has room for it. type or data may be null.
    virtual long QueryValue(RegistryKey key, const char* name, std::uint32_t* type, void* data,
                            std::uint32_t* size) = 0;
    virtual long SetValue(RegistryKey key, const char* name, std::uint32_t type, const void* data,
                          std::uint32_t size) = 0;
    virtual long DeleteValue(RegistryKey key, const char* name) = 0;
    // Deletes a key that has no sub-keys.
    virtual long DeleteKey(RegistryKey parent, const char* path) = 0;
    virtual long CloseKey(RegistryKey key) = 0;
};

// Hands a stored value (text values already as UTF-8) to a caller of QueryValue with
// the rules above for sizes, the undefined buffer and the added terminator.
long DeliverRegistryValue(const std::string& stored, std::uint32_t storedType, std::uint32_t* type, void* data,
                          std::uint32_t* size);

// Installs the registry for the process (null: the build's own default, advapi32 on
// Windows, an empty in-memory tree elsewhere). Installed once at start-up; tests
// install their own.
void InstallRegistry(RegistryApi* registry);
RegistryApi& Registry();

// Closes a key when it goes out of scope.
class RegistryKeyHold {
public:
    RegistryKeyHold() = default;
    ~RegistryKeyHold() { Close(); }
    RegistryKeyHold(const RegistryKeyHold&) = delete;
    RegistryKeyHold& operator=(const RegistryKeyHold&) = delete;

    RegistryKey* Out() { Close(); return &key_; }
    RegistryKey Get() const { return key_; }
    void Close() {
        if (key_) Registry().CloseKey(key_);
        key_ = 0;
    }

private:
    RegistryKey key_ = 0;
};
