#include "platform/cdromioctl.h"

#include <cstring>

namespace {

std::int32_t AddressFrames(const std::uint8_t address[4]) {
    return (address[1] * 60 + address[2]) * 75 + address[3];
}

class IoctlRawCdDrive : public RawCdDrive {
public:
    IoctlRawCdDrive(DeviceIoCall call, std::function<void()> onClose)
        : call_(std::move(call)), onClose_(std::move(onClose)) {}
    ~IoctlRawCdDrive() override {
        if (onClose_) onClose_();
    }

    std::uint32_t ReadToc(RawToc* toc) override {
        cdrom::Toc answer{};
        std::uint32_t returned = 0;
        const std::uint32_t error = call_(cdrom::IoctlReadToc, nullptr, 0, &answer, sizeof answer, &returned);
        if (error != 0) return error;
        // Length counts what follows it: the two track numbers and the entries, the
        // lead-out's among them.
        const std::size_t length = static_cast<std::size_t>(answer.length[0] << 8 | answer.length[1]);
        const std::size_t have = returned >= 4 ? returned - 2 : 0;
        const std::size_t usable = length < have ? length : have;
        const std::size_t entries = usable >= 2 ? (usable - 2) / 8 : 0;
        *toc = RawToc{};
        bool leadOut = false;
        for (std::size_t i = 0; i < entries && i < 100 && !leadOut; ++i) {
            const cdrom::TrackData& entry = answer.trackData[i];
            if (entry.trackNumber == cdrom::LeadOutTrack) {
                toc->leadOutFrame = AddressFrames(entry.address);
                leadOut = true;
            } else {
                toc->tracks.push_back(RawTocTrack{entry.trackNumber, static_cast<std::uint8_t>(entry.controlAndAdr & 0x0F),
                                                  AddressFrames(entry.address)});
            }
        }
        // A table without its lead-out, or without tracks, is no table.
        return leadOut && !toc->tracks.empty() ? 0 : win32error::InvalidParameter;
    }

    std::uint32_t ReadCdText(std::vector<std::uint8_t>* bytes) override {
        cdrom::ReadTocEx request{};
        request.formatAndMsf = cdrom::TocExFormatCdText;
        std::vector<std::uint8_t> answer(cdrom::CdTextMostBytes);
        std::uint32_t returned = 0;
        const std::uint32_t error = call_(cdrom::IoctlReadTocEx, &request, sizeof request, answer.data(),
                                          static_cast<std::uint32_t>(answer.size()), &returned);
        if (error != 0) return error;
        answer.resize(returned < answer.size() ? returned : answer.size());
        *bytes = std::move(answer);
        return 0;
    }

    std::uint32_t ReadAudio(std::int32_t lba, std::int32_t count, std::uint8_t* out) override {
        if (count < 1 || count > MaxRawReadSectors || lba < 0) return win32error::InvalidParameter;
        cdrom::RawReadInfo request{};
        request.diskOffset = static_cast<std::int64_t>(lba) * cdrom::CookedSectorBytes;
        request.sectorCount = static_cast<std::uint32_t>(count);
        request.trackMode = cdrom::TrackModeCdda;
        const std::uint32_t bytes = static_cast<std::uint32_t>(count) * RawSectorBytes;
        std::uint32_t returned = 0;
        const std::uint32_t error = call_(cdrom::IoctlRawRead, &request, sizeof request, out, bytes, &returned);
        if (error != 0) return error;
        // A short answer leaves the rest of the sectors unread.
        return returned == bytes ? 0 : win32error::Crc;
    }

private:
    DeviceIoCall call_;
    std::function<void()> onClose_;
};

} // namespace

std::unique_ptr<RawCdDrive> MakeIoctlRawCdDrive(DeviceIoCall call, std::function<void()> onClose) {
    return std::make_unique<IoctlRawCdDrive>(std::move(call), std::move(onClose));
}
