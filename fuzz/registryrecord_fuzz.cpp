// A disc's stored record: any program can write the registry, so every value may have
// any type, size and content, under the current or an older version key.
#include <cstddef>
#include <cstdint>
#include <string>

#include "cdaudio/cddevice.h"
#include "discinfo/discinfo.h"
#include "discinfo/discregistry.h"
#include "fuzz/fuzzsupport.h"
#include "platform/memoryregistry.h"

namespace {

const char* const ValueNames[] = {"Artist", "Title", "Program", "ProgramCount", "cddbID",
                                  "Track #1", "Track #2", "Track #3", "Track #12", "Track #0"};
const std::uint32_t ValueTypes[] = {RegistryText, RegistryBinary, RegistryDword, 7 /* REG_MULTI_SZ */};

// Reads the input as values: a byte naming the value, a byte naming its type, a byte
// giving its size, then that many bytes of data.
void PutValues(MemoryRegistry& registry, const std::string& path, const std::uint8_t* data, std::size_t size) {
    registry.PutKey(path);
    std::size_t at = 0;
    while (at + 3 <= size) {
        const char* name = ValueNames[data[at] % (sizeof ValueNames / sizeof *ValueNames)];
        const std::uint32_t type = ValueTypes[data[at + 1] % (sizeof ValueTypes / sizeof *ValueTypes)];
        std::size_t length = data[at + 2];
        at += 3;
        if (length > size - at) length = size - at;
        registry.PutValue(path, name, type, data + at, length);
        at += length;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    MemoryRegistry registry;
    InstallRegistry(&registry);
    const int trackCount = data[0] % 20 + 1;
    fuzz::InsertDisc(trackCount);
    ResetDiscInfo();
    DiscInfo().trackTitles.assign(static_cast<std::size_t>(trackCount), std::nullopt);
    // The second byte picks the version key the record is under.
    const std::string path = std::string(DiscKeyTable[data[1] % DiscKeyCount]) + "\\" + IdentityKey();
    PutValues(registry, path, data + 2, size - 2);
    LoadDiscFromRegistry();
    fuzz::CheckDiscTexts();
    DiscInfo().discReady = true;
    SaveDiscToRegistry();
    ResetDiscInfo();
    InstallRegistry(nullptr);
    return 0;
}
