// A registry held in memory, for native builds and tests. It keeps the advapi32 rules
// the program depends on: UTF-8 through the seam as platform/registry.h describes it
// (text that is not UTF-8 refused, text given out always valid), stored sizes and
// types as given, RegistryMoreData for a
// buffer that is too small (with the buffer partly overwritten), a terminator added to
// a text value only when the caller's buffer has room, access rights per handle, no
// deletion of a key that has sub-keys, and handles that outlive a deleted key. Unlike
// the system it never counts a text's forgotten terminator that follows the given
// size (that would read past the caller's data); the program always counts it.
// It holds two roots, HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER; either can be made to
// refuse writes as the system does for a standard user under the machine's root.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/registry.h"

class MemoryRegistry : public RegistryApi {
public:
    MemoryRegistry();
    ~MemoryRegistry() override;

    long OpenKey(RegistryKey parent, const char* path, std::uint32_t access, RegistryKey* key) override;
    long CreateKey(RegistryKey parent, const char* path, std::uint32_t access, RegistryKey* key) override;
    long QueryValue(RegistryKey key, const char* name, std::uint32_t* type, void* data,
                    std::uint32_t* size) override;
    long SetValue(RegistryKey key, const char* name, std::uint32_t type, const void* data,
                  std::uint32_t size) override;
    long DeleteValue(RegistryKey key, const char* name) override;
    long DeleteKey(RegistryKey parent, const char* path) override;
    long CloseKey(RegistryKey key) override;

    // From now on every key under root refuses to be opened or created with a right to
    // change it, and to be deleted (RegistryAccessDenied, once the key is known to
    // exist); reading is still allowed. This is what advapi32 gives a program without
    // administrator rights under HKEY_LOCAL_MACHINE.
    void RefuseWrites(RegistryKey root);

    // Direct access for tests, bypassing any refusal; paths are relative to root.
    struct StoredValue {
        std::uint32_t type = 0;
        std::vector<unsigned char> data;
    };
    void PutKey(const std::string& path, RegistryKey root = RegistryLocalMachine);
    void PutValue(const std::string& path, const std::string& name, std::uint32_t type,
                  const void* data, std::size_t size, RegistryKey root = RegistryLocalMachine);
    void PutText(const std::string& path, const std::string& name, const std::string& text,
                 RegistryKey root = RegistryLocalMachine); // NUL included
    void PutDword(const std::string& path, const std::string& name, std::uint32_t value,
                  RegistryKey root = RegistryLocalMachine);
    bool HasKey(const std::string& path, RegistryKey root = RegistryLocalMachine) const;
    std::optional<StoredValue> GetValue(const std::string& path, const std::string& name,
                                        RegistryKey root = RegistryLocalMachine) const;
    // sorted, lower case
    std::vector<std::string> ValueNames(const std::string& path, RegistryKey root = RegistryLocalMachine) const;
    std::vector<std::string> SubKeyNames(const std::string& path, RegistryKey root = RegistryLocalMachine) const;
    std::size_t OpenHandleCount() const;

private:
    struct Node;
    struct Handle {
        std::shared_ptr<Node> node;
        std::uint32_t access;
        RegistryKey root;
    };
    std::shared_ptr<Node> Find(const std::shared_ptr<Node>& from, const std::string& path) const;
    std::shared_ptr<Node> Resolve(RegistryKey key, std::uint32_t* access, RegistryKey* root) const;
    std::shared_ptr<Node> RootNode(RegistryKey root) const;
    bool Refuses(RegistryKey root) const { return refused_.count(root) != 0; }
    RegistryKey NewHandle(std::shared_ptr<Node> node, std::uint32_t access, RegistryKey root);

    mutable std::mutex mutex_;
    std::shared_ptr<Node> machine_;
    std::shared_ptr<Node> user_;
    std::set<RegistryKey> refused_;
    std::map<RegistryKey, Handle> handles_;
    RegistryKey nextHandle_ = 0x1000;
};
