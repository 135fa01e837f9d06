#include "platform/registry.h"

#include <atomic>
#include <cstring>

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

bool IsRegistryTextType(std::uint32_t type) { return type == 1 || type == 2 || type == 7; }

long DeliverRegistryValue(const std::string& stored, std::uint32_t storedType, std::uint32_t* type, void* data,
                          std::uint32_t* size) {
    if (data && !size) return RegistryInvalidParameter;
    if (type) *type = storedType;
    const std::uint32_t storedSize = static_cast<std::uint32_t>(stored.size());
    if (!data) {
        if (size) *size = storedSize;
        return RegistrySuccess;
    }
    const std::uint32_t room = *size;
    *size = storedSize;
    auto* out = static_cast<unsigned char*>(data);
    if (storedSize > room) {
        // What the caller finds in the buffer is undefined; leave the worst plausible
        // content, the value's first bytes without a terminator.
        if (room) std::memcpy(out, stored.data(), room);
        return RegistryMoreData;
    }
    if (storedSize) std::memcpy(out, stored.data(), storedSize);
    // A text stored without its terminator gets one only when the buffer has room.
    if (IsRegistryTextType(storedType) && storedSize < room && (storedSize == 0 || out[storedSize - 1] != 0))
        out[storedSize] = 0;
    return RegistrySuccess;
}
