// A stand-in for DeviceIoControl on a CD drive, answering as the CD-ROM class driver
// documents and checks its requests: IOCTL_CDROM_READ_TOC wants a whole CDROM_TOC,
// IOCTL_CDROM_RAW_READ a whole RAW_READ_INFO and room for every sector, refuses zero
// sectors, sectors past the disc and more bytes than the adapter moves into an unaligned
// buffer (ERROR_INVALID_PARAMETER), IOCTL_CDROM_READ_TOC_EX a whole CDROM_READ_TOC_EX
// with its reserved bytes 0. Without a disc every request is ERROR_NOT_READY; a sector
// the drive cannot read fails its whole request with ERROR_CRC, returning nothing.
#pragma once

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "platform/cdromioctl.h"

struct StandInDisc {
    struct Track {
        bool audio;
        std::int32_t startFrame; // absolute
    };
    std::vector<Track> tracks;
    std::int32_t leadOutFrame = 0;
    std::vector<std::uint8_t> cdText; // the READ_TOC_EX answer, header included
};

class StandInCdDrive {
public:
    // An adapter of 64 KiB in sixteen pages: one page less for a buffer not on a page.
    static constexpr std::uint32_t MaxUnalignedTransferBytes = 15 * 4096;

    explicit StandInCdDrive(StandInDisc disc) : disc_(std::move(disc)) {}

    bool ready = true;
    std::set<std::int32_t> badSectors; // by LBA
    // What came: every raw read's (LBA, sectors), in order.
    std::vector<std::pair<std::int32_t, std::int32_t>> rawReads;

    // The sample bytes of an LBA: a pattern no shift or swap keeps.
    static std::uint8_t SampleByte(std::int32_t lba, std::int32_t offset) {
        return static_cast<std::uint8_t>(lba * 13 + offset % 2352 % 253 + 1);
    }

    DeviceIoCall Call() {
        return [this](std::uint32_t code, const void* in, std::uint32_t inBytes, void* out, std::uint32_t outBytes,
                      std::uint32_t* returned) { return Answer(code, in, inBytes, out, outBytes, returned); };
    }

    std::uint32_t Answer(std::uint32_t code, const void* in, std::uint32_t inBytes, void* out, std::uint32_t outBytes,
                         std::uint32_t* returned) {
        *returned = 0;
        switch (code) {
        case cdrom::IoctlReadToc: return ReadToc(out, outBytes, returned);
        case cdrom::IoctlRawRead: return RawRead(in, inBytes, out, outBytes, returned);
        case cdrom::IoctlReadTocEx: return ReadTocEx(in, inBytes, out, outBytes, returned);
        default: return win32error::InvalidFunction;
        }
    }

private:
    static void Address(std::int32_t frame, std::uint8_t address[4]) {
        address[0] = 0;
        address[1] = static_cast<std::uint8_t>(frame / 4500);
        address[2] = static_cast<std::uint8_t>(frame / 75 % 60);
        address[3] = static_cast<std::uint8_t>(frame % 75);
    }

    std::uint32_t ReadToc(void* out, std::uint32_t outBytes, std::uint32_t* returned) {
        if (outBytes < sizeof(cdrom::Toc)) return win32error::InsufficientBuffer;
        if (!ready) return win32error::NotReady;
        cdrom::Toc toc{};
        const std::size_t entries = disc_.tracks.size() + 1;
        const std::size_t length = 2 + entries * sizeof(cdrom::TrackData);
        toc.length[0] = static_cast<std::uint8_t>(length >> 8);
        toc.length[1] = static_cast<std::uint8_t>(length);
        toc.firstTrack = 1;
        toc.lastTrack = static_cast<std::uint8_t>(disc_.tracks.size());
        for (std::size_t i = 0; i < disc_.tracks.size(); ++i) {
            toc.trackData[i].controlAndAdr = static_cast<std::uint8_t>(0x10 | (disc_.tracks[i].audio ? 0x00 : 0x04));
            toc.trackData[i].trackNumber = static_cast<std::uint8_t>(i + 1);
            Address(disc_.tracks[i].startFrame, toc.trackData[i].address);
        }
        toc.trackData[disc_.tracks.size()].controlAndAdr = 0x10;
        toc.trackData[disc_.tracks.size()].trackNumber = cdrom::LeadOutTrack;
        Address(disc_.leadOutFrame, toc.trackData[disc_.tracks.size()].address);
        std::memcpy(out, &toc, sizeof toc);
        *returned = static_cast<std::uint32_t>(2 + length);
        return 0;
    }

    std::uint32_t RawRead(const void* in, std::uint32_t inBytes, void* out, std::uint32_t outBytes,
                          std::uint32_t* returned) {
        if (inBytes < sizeof(cdrom::RawReadInfo)) return win32error::InsufficientBuffer;
        cdrom::RawReadInfo info;
        std::memcpy(&info, in, sizeof info);
        const std::uint64_t bytes = std::uint64_t{info.sectorCount} * 2352;
        const std::int64_t end = info.diskOffset + std::int64_t{info.sectorCount} * cdrom::CookedSectorBytes;
        if (info.sectorCount == 0 || outBytes < bytes || info.diskOffset < 0 ||
            end > std::int64_t{disc_.leadOutFrame - 150} * cdrom::CookedSectorBytes || bytes > MaxUnalignedTransferBytes ||
            info.trackMode != cdrom::TrackModeCdda)
            return win32error::InvalidParameter;
        if (!ready) return win32error::NotReady;
        const std::int32_t lba = static_cast<std::int32_t>(info.diskOffset / cdrom::CookedSectorBytes);
        const std::int32_t count = static_cast<std::int32_t>(info.sectorCount);
        rawReads.emplace_back(lba, count);
        for (std::int32_t i = 0; i < count; ++i)
            if (badSectors.count(lba + i)) return win32error::Crc;
        auto* bytesOut = static_cast<std::uint8_t*>(out);
        for (std::int32_t i = 0; i < count * 2352; ++i) bytesOut[i] = SampleByte(lba + i / 2352, i);
        *returned = static_cast<std::uint32_t>(bytes);
        return 0;
    }

    std::uint32_t ReadTocEx(const void* in, std::uint32_t inBytes, void* out, std::uint32_t outBytes,
                            std::uint32_t* returned) {
        if (inBytes < sizeof(cdrom::ReadTocEx)) return win32error::BadLength;
        if (outBytes < 2) return win32error::InsufficientBuffer;
        cdrom::ReadTocEx request;
        std::memcpy(&request, in, sizeof request);
        if (request.reserved2 || request.reserved3 || (request.formatAndMsf & 0x70) ||
            (request.formatAndMsf & 0x0F) != cdrom::TocExFormatCdText)
            return win32error::InvalidParameter;
        if (!ready) return win32error::NotReady;
        const std::size_t bytes = disc_.cdText.size() < outBytes ? disc_.cdText.size() : outBytes;
        std::memcpy(out, disc_.cdText.data(), bytes);
        *returned = static_cast<std::uint32_t>(bytes);
        return 0;
    }

    StandInDisc disc_;
};
