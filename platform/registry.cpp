#include "platform/registry.h"

#include <atomic>

// The build's own registry: advapi32 on Windows, an in-memory tree elsewhere.
RegistryApi& DefaultRegistry();

namespace {
std::atomic<RegistryApi*> installedRegistry{nullptr};
}

void InstallRegistry(RegistryApi* registry) { installedRegistry = registry; }

RegistryApi& Registry() {
    RegistryApi* registry = installedRegistry;
    return registry ? *registry : DefaultRegistry();
}

const char* RegistryRootName(RegistryKey root) {
    return root == RegistryCurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}
