// Raw CD reads: the drive's own table of contents, its CD-Text and its audio sectors,
// read past the CD audio device as the CD-ROM class driver gives them (DeviceIoControl
// on \\.\X:). The Win32 build reads real drives; the virtual drives read their images.
// Every operation returns 0 or a Win32 error code (ERROR_NOT_READY, ...).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct RawTocTrack {
    std::uint8_t number = 0;
    std::uint8_t control = 0;     // the Q channel's control bits: 0x04 marks a data track
    std::int32_t startFrame = 0;  // absolute, as its MSF address (LBA + 150)
};

struct RawToc {
    std::vector<RawTocTrack> tracks;
    std::int32_t leadOutFrame = 0;
};

// The most sectors one raw read asks for: 26 x 2352 = 61152 bytes, which the common
// 64 KiB adapter limit allows even into an unaligned buffer (sixteen pages less one);
// larger requests fail with ERROR_INVALID_PARAMETER on such drives. About a third of a
// second of sound.
constexpr std::int32_t MaxRawReadSectors = 26;
constexpr std::int32_t RawSectorBytes = 2352;
// The lead-in before LBA 0: the frame an LBA names is LBA + 150.
constexpr std::int32_t RawLeadInFrames = 150;

class RawCdDrive {
public:
    virtual ~RawCdDrive() = default;
    // IOCTL_CDROM_READ_TOC.
    virtual std::uint32_t ReadToc(RawToc* toc) = 0;
    // IOCTL_CDROM_READ_TOC_EX with the CD-Text format: the driver's output as it is, its
    // four-byte header (the length after the first two bytes, big-endian) and the
    // 18-byte packs.
    virtual std::uint32_t ReadCdText(std::vector<std::uint8_t>* bytes) = 0;
    // IOCTL_CDROM_RAW_READ of count (1 to MaxRawReadSectors) CDDA sectors from lba into
    // out (count * 2352 bytes): 16-bit little-endian stereo samples.
    virtual std::uint32_t ReadAudio(std::int32_t lba, std::int32_t count, std::uint8_t* out) = 0;
};

// Opens the drive ("D:"); null with the Win32 error code when it cannot.
using RawCdOpener = std::function<std::unique_ptr<RawCdDrive>(const std::string& drive, std::uint32_t* error)>;

// Installed once at start-up with the CD audio driver of the same drives.
void InstallRawCdOpener(RawCdOpener opener);
std::unique_ptr<RawCdDrive> OpenRawCd(const std::string& drive, std::uint32_t* error);

// The system's text for a Win32 error code, as FormatMessage gives it ("The device is
// not ready."), without the line end.
std::string SystemErrorText(std::uint32_t error);

// Win32 error codes the raw reads answer with.
namespace win32error {
constexpr std::uint32_t InvalidFunction = 1;     // the drive has no such request
constexpr std::uint32_t FileNotFound = 2;        // no such drive
constexpr std::uint32_t AccessDenied = 5;
constexpr std::uint32_t NotReady = 21;           // no disc, or it is still spinning up
constexpr std::uint32_t Crc = 23;                // a sector that cannot be read
constexpr std::uint32_t BadLength = 24;          // the request's input is too short
constexpr std::uint32_t InvalidParameter = 87;   // a request the driver refuses
constexpr std::uint32_t InsufficientBuffer = 122;
} // namespace win32error
