// The Windows CD Player's Cdplayer.ini: written by another program, read at start.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "discinfo/cdplayerini.h"
#include "discinfo/discinfo.h"
#include "fuzz/fuzzsupport.h"
#include "platform/inireader.h"
#include "platform/profilefile.h"

namespace {

// A Windows directory of the fuzzer's own, made once.
const std::string& WindowsDirectory() {
    static const std::string directory = [] {
        char pattern[] = "/tmp/tunova-fuzz-iniXXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        return std::string(pattern);
    }();
    return directory;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::string path = WindowsDirectory() + "/Cdplayer.ini";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    if (size > 1) std::fwrite(data + 1, 1, size - 1, file);
    std::fclose(file);

    IniFileReader reader(WindowsDirectory());
    InstallProfileFile(&reader);
    // The seeds' sections are named by this disc's identity (3A5B1C02).
    const int trackCount = data[0] % 30 + 1;
    fuzz::InsertDisc(trackCount);
    ResetDiscInfo();
    DiscInfo().trackTitles.assign(static_cast<std::size_t>(trackCount), std::nullopt);
    ImportCdplayerIni();
    fuzz::CheckDiscTexts();
    InstallProfileFile(nullptr);
    ResetDiscInfo();
    return 0;
}
