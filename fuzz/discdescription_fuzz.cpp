// Virtual disc descriptions: a file anyone can write, read at every drive open.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzzsupport.h"
#include "platform/virtualcd/discdescription.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DiscDescription disc;
    std::string error;
    if (!ParseDiscDescription(std::string(reinterpret_cast<const char*>(data), size), &disc, &error)) return 0;
    // What the drive reports for an accepted disc.
    MediaIdentityText(disc);
    for (std::size_t i = 0; i < disc.tracks.size(); ++i) ReportedLengthFrames(disc, i);
    InjectedFailure(disc, "play");
    return 0;
}
