#include "platform/win32/rawcddevice.h"

#include <windows.h>

#include "platform/cdromioctl.h"
#include "platform/win32/widetext.h"

// The structures as the system header lays them out.
#include <winioctl.h>
#include <ntddcdrm.h>
static_assert(sizeof(cdrom::Toc) == sizeof(CDROM_TOC), "CDROM_TOC");
static_assert(sizeof(cdrom::TrackData) == sizeof(TRACK_DATA), "TRACK_DATA");
static_assert(sizeof(cdrom::RawReadInfo) == sizeof(RAW_READ_INFO), "RAW_READ_INFO");
static_assert(offsetof(cdrom::RawReadInfo, sectorCount) == offsetof(RAW_READ_INFO, SectorCount), "SectorCount");
static_assert(offsetof(cdrom::RawReadInfo, trackMode) == offsetof(RAW_READ_INFO, TrackMode), "TrackMode");
static_assert(sizeof(cdrom::ReadTocEx) == sizeof(CDROM_READ_TOC_EX), "CDROM_READ_TOC_EX");
static_assert(cdrom::IoctlReadToc == IOCTL_CDROM_READ_TOC, "IOCTL_CDROM_READ_TOC");
static_assert(cdrom::IoctlRawRead == IOCTL_CDROM_RAW_READ, "IOCTL_CDROM_RAW_READ");
static_assert(cdrom::IoctlReadTocEx == IOCTL_CDROM_READ_TOC_EX, "IOCTL_CDROM_READ_TOC_EX");
static_assert(cdrom::TrackModeCdda == CDDA, "CDDA");
static_assert(cdrom::TocExFormatCdText == CDROM_READ_TOC_EX_FORMAT_CDTEXT, "CD-Text format");

std::unique_ptr<RawCdDrive> OpenDeviceRawCd(const std::string& drive, std::uint32_t* error) {
    // Shared, so that the CD audio device and other programs keep their own use of it.
    const HANDLE device = CreateFileW(Utf8ToWide("\\\\.\\" + drive).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (device == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return nullptr;
    }
    auto call = [device](std::uint32_t code, const void* in, std::uint32_t inBytes, void* out, std::uint32_t outBytes,
                         std::uint32_t* returned) -> std::uint32_t {
        DWORD got = 0;
        const BOOL ok = DeviceIoControl(device, code, const_cast<void*>(in), inBytes, out, outBytes, &got, nullptr);
        *returned = got;
        return ok ? 0 : GetLastError();
    };
    return MakeIoctlRawCdDrive(call, [device] { CloseHandle(device); });
}
