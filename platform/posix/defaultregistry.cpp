// Native builds have no system registry: an empty tree stands in until a test installs
// its own.
#include "platform/memoryregistry.h"

RegistryApi& DefaultRegistry() {
    static MemoryRegistry registry;
    return registry;
}
