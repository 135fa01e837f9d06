// CD-Text packs for tests: packs written out by hand (their CRC sealed), published pack
// dumps, and a drive's answer holding them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/cdromioctl.h"
#include "platform/cdtextpacks.h"

using CdTextBytes = std::vector<std::uint8_t>;

// A pack of this header and up to twelve bytes of text (zeros after), with its CRC.
inline CdTextBytes TestPack(std::uint8_t type, std::uint8_t track, std::uint8_t sequence, std::uint8_t blockByte,
                            const std::string& text) {
    CdTextBytes pack(cdtext::PackBytes, 0);
    pack[0] = type;
    pack[1] = track;
    pack[2] = sequence;
    pack[3] = blockByte;
    for (std::size_t i = 0; i < text.size() && i < cdtext::TextBytes; ++i)
        pack[cdtext::TextOffset + i] = static_cast<std::uint8_t>(text[i]);
    SealCdTextPack(pack.data());
    return pack;
}

// Bytes written as hexadecimal pairs, spaces between them.
inline CdTextBytes HexBytes(const std::string& text) {
    CdTextBytes bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 3)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
    return bytes;
}

// The drive's IOCTL_CDROM_READ_TOC_EX answer of these packs: Length (the bytes after
// it), two reserved bytes, the packs.
inline CdTextBytes CdTextReply(const std::vector<CdTextBytes>& packs) {
    CdTextBytes reply(cdrom::CdTextHeaderBytes, 0);
    for (const CdTextBytes& pack : packs) reply.insert(reply.end(), pack.begin(), pack.end());
    const std::size_t length = reply.size() - 2;
    reply[0] = static_cast<std::uint8_t>(length >> 8);
    reply[1] = static_cast<std::uint8_t>(length);
    return reply;
}

// The answer holding packs given as one run of bytes.
inline CdTextBytes CdTextReply(const CdTextBytes& packs) {
    std::vector<CdTextBytes> split;
    for (std::size_t at = 0; at + cdtext::PackBytes <= packs.size(); at += cdtext::PackBytes)
        split.emplace_back(packs.begin() + static_cast<std::ptrdiff_t>(at),
                           packs.begin() + static_cast<std::ptrdiff_t>(at + cdtext::PackBytes));
    return CdTextReply(split);
}
