// CD-Text as a disc's lead-in holds it and a drive returns it: packs of 18 bytes, each
// a four-byte header (pack type, track number, sequence number, then the block number
// and character position), twelve bytes of text and a CRC. The texts of one type run
// on from pack to pack, each ended by a zero (two zeros in double-byte text). The
// reader of a disc's titles and the virtual drive, which builds packs for CD images,
// share these facts.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/cdromioctl.h"

namespace cdtext {

constexpr std::size_t PackBytes = cdrom::CdTextPackBytes;
constexpr std::size_t TextOffset = 4;
constexpr std::size_t TextBytes = 12;

// Pack types.
constexpr std::uint8_t Title = 0x80;
constexpr std::uint8_t Performer = 0x81;
// Three packs (track numbers 0, 1, 2) that sum up a block; the first text byte of the
// first one is the block's character code, the first of the third one's last eight its
// language.
constexpr std::uint8_t SizeInfo = 0x8F;

// Character codes.
constexpr std::uint8_t Iso8859_1 = 0x00;
constexpr std::uint8_t Ascii = 0x01;
constexpr std::uint8_t MsJis = 0x80; // Shift-JIS double-byte text: Windows' code page 932
constexpr unsigned MsJisCodePage = 932;

// The second header byte: the track number in bits 0-6 (0: the album); bit 7 marks an
// extension pack, which no player reads.
constexpr std::uint8_t ExtensionFlag = 0x80;
// The fourth header byte: bit 7 for double-byte characters, the block (0 to 7) in bits
// 4-6, and in bits 0-3 how many characters of the pack's first text came in earlier
// packs (15: fifteen or more).
constexpr std::uint8_t DoubleByteFlag = 0x80;
constexpr int MostCharacterPosition = 15;

// A block holds at most 256 packs, three of them its size information.
constexpr int MostBlocks = 8;
constexpr int MostPacksInBlock = 256;
constexpr int MostTextPacksInBlock = MostPacksInBlock - 3;

// Language codes of the size information.
constexpr std::uint8_t English = 0x09;
constexpr std::uint8_t Japanese = 0x69;

} // namespace cdtext

// The CRC a pack carries in its last two bytes (big-endian): CRC-16 CCITT (x^16 + x^12 +
// x^5 + 1, from 0) of its first 16 bytes, every bit inverted.
std::uint16_t CdTextPackCrc(const std::uint8_t* pack);
// Whether the pack's bytes still match its CRC.
bool CdTextPackIntact(const std::uint8_t* pack);
// Writes the CRC of the pack's first 16 bytes into its last two.
void SealCdTextPack(std::uint8_t* pack);
