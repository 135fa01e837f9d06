// Stored track lists: the registry's "Program" and Cdplayer.ini's "order".
#include <cstddef>
#include <cstdint>

#include "discinfo/tracklist.h"
#include "fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    // The first byte picks the disc's track count (0 to 99), the rest is the list.
    const std::int32_t trackCount = data[0] % 100;
    const auto numbers = ParseTrackList(fuzz::AsText(data + 1, size - 1).c_str(), trackCount);
    StoredProgram(numbers, trackCount);
    return 0;
}
