// Titles in UTF-8 or Latin-1 from a server or a local copy, into the program's code page.
#include <cstddef>
#include <cstdint>
#include <string>

#include "cddb/textencoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ToProgramText(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
