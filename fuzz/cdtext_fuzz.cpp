// CD-Text comes from the disc, through any drive: the reader takes whatever packs come.
// The input's first byte chooses: odd, the rest is the answer's packs, each CRC sealed
// so that the packs get past the check; even, the rest is a CD image's titles, one a
// line, built into packs as a virtual drive does and read back, which must give them
// again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "discinfo/cdtext.h"
#include "platform/cdtextpacks.h"
#include "platform/utf8text.h"
#include "platform/virtualcd/imagecdtext.h"

namespace {

std::vector<std::uint8_t> Reply(const std::vector<std::uint8_t>& packs) {
    const std::size_t length = 2 + packs.size();
    std::vector<std::uint8_t> reply{static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length), 0, 0};
    reply.insert(reply.end(), packs.begin(), packs.end());
    return reply;
}

void ReadPacks(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> packs(data, data + size);
    for (std::size_t at = 0; at + cdtext::PackBytes <= packs.size(); at += cdtext::PackBytes) SealCdTextPack(&packs[at]);
    DecodeCdText(Reply(packs));
    std::vector<std::uint8_t> filePacks;
    std::string problem;
    CdTextFilePacks(std::string(data, data + size), &filePacks, &problem);
}

// Titles of printable letters only: a tab alone means "as before" and a zero ends a
// text, so such titles cannot come back as they went.
void BuildAndReadBack(const std::uint8_t* data, std::size_t size) {
    AlbumTexts texts;
    std::istringstream lines(std::string(data, data + size));
    for (std::string line; std::getline(lines, line) && texts.titles.size() < 100;) {
        for (char& c : line)
            if (static_cast<unsigned char>(c) < 0x20) c = ' ';
        texts.titles.push_back(Utf8OrLatin1ToUtf8(line));
        texts.performers.push_back(std::string());
    }
    std::vector<std::string> leftOut;
    const std::vector<std::uint8_t> packs = BuildCdTextPacks(texts, &leftOut);
    if (packs.size() % cdtext::PackBytes != 0 || packs.size() > cdtext::MostPacksInBlock * cdtext::PackBytes) std::abort();
    const CdTextTitles read = DecodeCdText(Reply(packs));
    if (read.brokenPacks != 0) std::abort();
    // Texts cut off at the block's end do not come back; all that do are the ones given.
    for (std::size_t track = 0; track < texts.titles.size(); ++track) {
        const std::optional<std::string>& title = read.titles[track];
        if (title && *title != texts.titles[track]) std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    if (data[0] & 1) ReadPacks(data + 1, size - 1);
    else BuildAndReadBack(data + 1, size - 1);
    return 0;
}
