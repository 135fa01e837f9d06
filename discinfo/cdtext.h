// The disc's own titles: the CD-Text a drive reads from the disc's lead-in, as packs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the CD-Text says, as UTF-8. Index 0 is the album, every other index the track of
// that number (1 to 99); no value where the disc gives no text, or only an empty one.
struct CdTextTitles {
    std::vector<std::optional<std::string>> titles;
    std::vector<std::optional<std::string>> performers;
    // Packs whose CRC did not match: each is ignored, and so is every text it held part
    // of.
    int brokenPacks = 0;
    // The character code of a block passed over because the program does not read it
    // (0x81 Korean, 0x82 Mandarin, ...), or -1.
    int unreadCode = -1;
};

constexpr std::size_t CdTextTrackSlots = 100;

// reply: the drive's answer to IOCTL_CDROM_READ_TOC_EX in the CD-Text format, its
// four-byte header included. Reads the first block (by number) in ISO-8859-1, ASCII or
// MS-JIS that has a title or performer; a text of nothing but a tab (two in double-byte
// text) is the same as the track's before.
CdTextTitles DecodeCdText(const std::vector<std::uint8_t>& reply);
