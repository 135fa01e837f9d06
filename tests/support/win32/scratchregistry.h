// The system's registry with HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER moved to scratch
// keys, so that tests of the real adapter keep the player's options and disc records out
// of the machine's and the user's own, and delete them again.
#pragma once

#include <windows.h>

#include <string>

#include "platform/registry.h"
#include "platform/win32/scoped.h"

// Asks only for the rights deletion needs, so that keys a test made read-only go too.
inline void DeleteKeyTree(HKEY parent, const std::string& path) {
    {
        HKEY opened;
        if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ | DELETE, &opened) != ERROR_SUCCESS) return;
        const ScopedRegistryKey key(opened); // closed before the key itself goes
        char name[256];
        for (;;) {
            DWORD length = sizeof name;
            if (RegEnumKeyExA(key.Get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            DeleteKeyTree(key.Get(), name);
        }
    }
    RegDeleteKeyA(parent, path.c_str());
}

class ScratchRegistry : public RegistryApi {
public:
    ScratchRegistry(RegistryApi& system, RegistryKey machineRoot, RegistryKey userRoot)
        : system_(system), machineRoot_(machineRoot), userRoot_(userRoot) {}
    long OpenKey(RegistryKey parent, const char* path, std::uint32_t access, RegistryKey* key) override {
        return system_.OpenKey(Map(parent), path, access, key);
    }
    long CreateKey(RegistryKey parent, const char* path, std::uint32_t access, RegistryKey* key) override {
        return system_.CreateKey(Map(parent), path, access, key);
    }
    long QueryValue(RegistryKey key, const char* name, std::uint32_t* type, void* data, std::uint32_t* size) override {
        return system_.QueryValue(key, name, type, data, size);
    }
    long SetValue(RegistryKey key, const char* name, std::uint32_t type, const void* data,
                  std::uint32_t size) override {
        return system_.SetValue(key, name, type, data, size);
    }
    long DeleteValue(RegistryKey key, const char* name) override { return system_.DeleteValue(key, name); }
    long DeleteKey(RegistryKey parent, const char* path) override { return system_.DeleteKey(Map(parent), path); }
    long CloseKey(RegistryKey key) override { return system_.CloseKey(key); }

private:
    RegistryKey Map(RegistryKey key) const {
        if (key == RegistryLocalMachine) return machineRoot_;
        if (key == RegistryCurrentUser) return userRoot_;
        return key;
    }
    RegistryApi& system_;
    RegistryKey machineRoot_;
    RegistryKey userRoot_;
};

// Two scratch keys under HKEY_CURRENT_USER, path for the machine's root and path +
// " user" for the user's, installed as the program's registry for the object's life,
// and deleted again.
class InstalledScratchRegistry {
public:
    explicit InstalledScratchRegistry(const char* path) : path_(path), userPath_(std::string(path) + " user") {
        InstallRegistry(nullptr);
        DeleteKeyTree(HKEY_CURRENT_USER, path_);
        DeleteKeyTree(HKEY_CURRENT_USER, userPath_);
        if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root_, nullptr) !=
                ERROR_SUCCESS ||
            RegCreateKeyExA(HKEY_CURRENT_USER, userPath_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &userRoot_,
                            nullptr) != ERROR_SUCCESS) {
            return;
        }
        scratch_ = new ScratchRegistry(Registry(), reinterpret_cast<RegistryKey>(root_),
                                       reinterpret_cast<RegistryKey>(userRoot_));
        InstallRegistry(scratch_);
    }
    ~InstalledScratchRegistry() {
        InstallRegistry(nullptr);
        delete scratch_;
        if (root_) RegCloseKey(root_);
        if (userRoot_) RegCloseKey(userRoot_);
        DeleteKeyTree(HKEY_CURRENT_USER, path_);
        DeleteKeyTree(HKEY_CURRENT_USER, userPath_);
    }
    InstalledScratchRegistry(const InstalledScratchRegistry&) = delete;
    InstalledScratchRegistry& operator=(const InstalledScratchRegistry&) = delete;

    bool Ready() const { return scratch_ != nullptr; }

private:
    std::string path_;
    std::string userPath_;
    HKEY root_ = nullptr;
    HKEY userRoot_ = nullptr;
    ScratchRegistry* scratch_ = nullptr;
};
