// The CD-ROM class driver's requests as DeviceIoControl takes them: the codes and the
// structures of ntddcdrm.h, laid out byte for byte (the Windows builds check them
// against the system header), and a raw drive made of such calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/rawcd.h"

namespace cdrom {

constexpr std::uint32_t IoctlReadToc = 0x00024000;   // CTL_CODE(CD_ROM, 0x0000, BUFFERED, READ)
constexpr std::uint32_t IoctlRawRead = 0x0002403E;   // CTL_CODE(CD_ROM, 0x000F, OUT_DIRECT, READ)
constexpr std::uint32_t IoctlReadTocEx = 0x00024054; // CTL_CODE(CD_ROM, 0x0015, BUFFERED, READ)

constexpr std::uint32_t TrackModeCdda = 2; // TRACK_MODE_TYPE: YellowMode2, XAForm2, CDDA, ...
constexpr std::uint8_t TocExFormatCdText = 5;
constexpr std::uint8_t LeadOutTrack = 0xAA;
constexpr std::uint32_t CookedSectorBytes = 2048; // DiskOffset counts sectors of this size

// TRACK_DATA: Control is the low nibble of the second byte, Adr the high one.
struct TrackData {
    std::uint8_t reserved;
    std::uint8_t controlAndAdr;
    std::uint8_t trackNumber;
    std::uint8_t reserved1;
    std::uint8_t address[4]; // 0, minute, second, frame
};

// CDROM_TOC: Length counts the bytes after itself, big-endian.
struct Toc {
    std::uint8_t length[2];
    std::uint8_t firstTrack;
    std::uint8_t lastTrack;
    TrackData trackData[100];
};

// RAW_READ_INFO: DiskOffset is a LARGE_INTEGER.
struct RawReadInfo {
    std::int64_t diskOffset;
    std::uint32_t sectorCount;
    std::uint32_t trackMode;
};

// CDROM_READ_TOC_EX: Format in the low four bits of the first byte, Msf in the top one.
struct ReadTocEx {
    std::uint8_t formatAndMsf;
    std::uint8_t sessionTrack;
    std::uint8_t reserved2;
    std::uint8_t reserved3;
};

static_assert(sizeof(TrackData) == 8, "TRACK_DATA");
static_assert(sizeof(Toc) == 804, "CDROM_TOC");
static_assert(sizeof(RawReadInfo) == 16 && offsetof(RawReadInfo, trackMode) == 12, "RAW_READ_INFO");
static_assert(sizeof(ReadTocEx) == 4, "CDROM_READ_TOC_EX");

// The CD-Text answer: a four-byte header (Length, then two reserved bytes), then
// CDROM_TOC_CD_TEXT_DATA_BLOCKs of 18 bytes.
constexpr std::size_t CdTextHeaderBytes = 4;
constexpr std::size_t CdTextPackBytes = 18;
// A disc holds at most 8 blocks of 256 packs.
constexpr std::size_t CdTextMostBytes = CdTextHeaderBytes + 8 * 256 * CdTextPackBytes;

} // namespace cdrom

// DeviceIoControl on an open drive: 0 or the Win32 error code (GetLastError), and the
// bytes returned.
using DeviceIoCall = std::function<std::uint32_t(std::uint32_t code, const void* in, std::uint32_t inBytes,
                                                 void* out, std::uint32_t outBytes, std::uint32_t* returned)>;

// A raw drive that makes each read one such call, as the CD-ROM class driver documents
// it; onClose runs when the drive is released (it closes the handle).
std::unique_ptr<RawCdDrive> MakeIoctlRawCdDrive(DeviceIoCall call, std::function<void()> onClose = nullptr);
