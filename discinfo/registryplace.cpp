#include "discinfo/registryplace.h"

RegistryKey OpenKeyForSaving(const char* path, RegistryKeyHold* key) {
    if (Registry().OpenKey(RegistryCurrentUser, path, RegistryKeyWrite, key->Out()) == RegistrySuccess)
        return RegistryCurrentUser;
    if (Registry().OpenKey(RegistryLocalMachine, path, RegistryKeyWrite, key->Out()) == RegistrySuccess)
        return RegistryLocalMachine;
    {
        RegistryKeyHold readable;
        if (Registry().OpenKey(RegistryLocalMachine, path, RegistryKeyRead, readable.Out()) != RegistrySuccess)
            return 0;
    }
    if (Registry().CreateKey(RegistryCurrentUser, path, RegistryKeyWrite, key->Out()) == RegistrySuccess)
        return RegistryCurrentUser;
    key->Close();
    return 0;
}

std::string RegistryPlace(RegistryKey root, const std::string& path) {
    return std::string(RegistryRootName(root)) + "\\" + path;
}
