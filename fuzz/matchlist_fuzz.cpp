// The close matches a server listed, read back from the conversation's file.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "cddb/matchchoice.h"
#include "fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = fuzz::OpenAsFile(data, size);
    std::fpos_t start;
    if (std::fgetpos(file, &start) == 0) ReadMatchFile(file, start);
    std::fclose(file);
    return 0;
}
