// The CD-Text of a CD image, as the disc burnt from it would hold it: the packs of the
// sheet's CDTEXTFILE as they are, or packs built from its TITLE and PERFORMER lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The texts of an album: index 0 the album's, then one per track (UTF-8, empty: none).
struct AlbumTexts {
    std::vector<std::string> titles;
    std::vector<std::string> performers;
};

// One block of CD-Text as a burner writes it, with its CRCs: the title packs, then the
// performer packs (a text like the one before it written as a tab; each ends at a zero
// byte it may hold), then the three packs of its size information. Nothing when every text is empty. The block is in
// ISO-8859-1 when every text fits it, else in MS-JIS when every text fits that; else in
// ISO-8859-1 without the texts it cannot hold, whose places ("album title", "track 3
// performer") go into leftOut. Texts past the block's 253 packs are cut off, as a disc
// has no room for them.
std::vector<std::uint8_t> BuildCdTextPacks(const AlbumTexts& texts, std::vector<std::string>* leftOut);

// The packs of a binary CD-Text file: 18-byte packs, after a four-byte header (the file's
// size less two, big-endian, then two zeros) or without one, when a last zero byte may
// follow. False with a reason for anything else.
bool CdTextFilePacks(const std::string& bytes, std::vector<std::uint8_t>* packs, std::string* problem);
