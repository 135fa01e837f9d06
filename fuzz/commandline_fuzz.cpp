// The command line, as the entry point gets it.
#include <cstddef>
#include <cstdint>

#include "app/commandline.h"
#include "fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ParseCommandLine(fuzz::AsText(data, size).c_str());
    return 0;
}
