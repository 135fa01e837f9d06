// xmcd entries, from a local copy or a server's reply, into the disc record.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cddb/xmcd.h"
#include "discinfo/discinfo.h"
#include "fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    // The first byte picks the disc's track count (1 to 99); the entry sought is the
    // one the first "#FILENAME=" line names, so inputs reach the storing steps.
    const int trackCount = data[0] % 99 + 1;
    const std::string text = fuzz::AsText(data + 1, size - 1);
    const std::size_t mark = text.find("#FILENAME=");
    const std::uint32_t discId =
        mark == std::string::npos ? 0 : static_cast<std::uint32_t>(std::strtoul(text.c_str() + mark + 10, nullptr, 16));
    fuzz::InsertDisc(trackCount);
    ResetDiscInfo();
    DiscInfo().trackTitles.assign(static_cast<std::size_t>(trackCount), std::nullopt);
    std::FILE* file = fuzz::OpenAsFile(data + 1, size - 1);
    ReadXmcdEntry(discId, file);
    fuzz::CheckDiscTexts();
    std::rewind(file);
    XmcdEntry entry;
    if (ParseXmcdEntry(discId, file, trackCount, &entry) && entry.discTitle) {
        std::string artist, title;
        SplitDiscTitle(*entry.discTitle, &artist, &title);
    }
    std::fclose(file);
    return 0;
}
