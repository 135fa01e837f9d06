#include "platform/virtualcd/virtualrawcd.h"

#include <cctype>
#include <cstring>

#include "platform/cdromioctl.h"
#include "platform/virtualcd/imagefiles.h"

VirtualTrace::VirtualTrace(const std::string& path) {
    if (!path.empty()) file_ = std::fopen(path.c_str(), "a");
}

VirtualTrace::~VirtualTrace() {
    if (file_) std::fclose(file_);
}

void VirtualTrace::Line(const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!file_) return;
    std::fprintf(file_, "%s\n", line.c_str());
    std::fflush(file_);
}

namespace {

class VirtualRawCd : public RawCdDrive {
public:
    explicit VirtualRawCd(std::shared_ptr<VirtualRawDisc> disc) : disc_(std::move(disc)) {
        if (disc_->image) reader_.reset(new ImageSoundReader(*disc_->image));
    }

    std::uint32_t ReadToc(RawToc* toc) override {
        std::uint32_t error = Unready("raw-toc");
        if (error == 0) {
            *toc = RawToc{};
            std::uint8_t number = 1;
            for (const VirtualTrack& track : disc_->disc.tracks)
                toc->tracks.push_back(RawTocTrack{number++, static_cast<std::uint8_t>(track.audio ? 0x00 : 0x04),
                                                  track.startFrame});
            toc->leadOutFrame = disc_->disc.leadOut;
        }
        Trace("raw-toc", error);
        return error;
    }

    std::uint32_t ReadCdText(std::vector<std::uint8_t>* bytes) override {
        const std::uint32_t error = Unready("raw-cdtext");
        // A disc without CD-Text: the header alone, its length counting the two
        // reserved bytes.
        if (error == 0) *bytes = {0x00, 0x02, 0x00, 0x00};
        Trace("raw-cdtext", error);
        return error;
    }

    std::uint32_t ReadAudio(std::int32_t lba, std::int32_t count, std::uint8_t* out) override {
        std::uint32_t error = 0;
        // The class driver's own checks come first: a sector count the adapter cannot
        // take, or sectors past the end of the disc.
        if (count < 1 || count > MaxRawReadSectors || lba < 0 ||
            lba + count > disc_->disc.leadOut - RawLeadInFrames)
            error = win32error::InvalidParameter;
        if (error == 0) error = Unready("raw-read");
        if (error == 0 && !(disc_->readsAudio && reader_)) error = win32error::InvalidFunction;
        if (error == 0 && !reader_->ReadFrames(lba + RawLeadInFrames, count, out)) error = win32error::Crc;
        Trace("raw-read " + std::to_string(lba) + " " + std::to_string(count), error);
        return error;
    }

private:
    // Not ready without a disc or while it settles; else what a "fail" line injects.
    std::uint32_t Unready(const char* command) {
        if (disc_->absent || disc_->disc.noDisc || disc_->disc.notReady) return win32error::NotReady;
        const std::int64_t readyAt = disc_->readyAt;
        if (readyAt >= 0 && disc_->clock() < readyAt) return win32error::NotReady;
        return InjectedFailure(disc_->disc, command);
    }
    void Trace(const std::string& what, std::uint32_t error) {
        if (disc_->trace) disc_->trace->Line(disc_->name + " " + what + " -> " + std::to_string(error));
    }

    std::shared_ptr<VirtualRawDisc> disc_;
    std::unique_ptr<ImageSoundReader> reader_; // of this handle's own, for its thread
};

} // namespace

RawCdOpener VirtualRawCdOpener(std::vector<std::shared_ptr<VirtualRawDisc>> discs) {
    return [discs](const std::string& drive, std::uint32_t* error) -> std::unique_ptr<RawCdDrive> {
        for (const std::shared_ptr<VirtualRawDisc>& disc : discs) {
            if (disc->name.empty() || drive.size() < 2 || std::toupper(static_cast<unsigned char>(drive[0])) != disc->name[0])
                continue;
            *error = InjectedFailure(disc->disc, "raw-open");
            if (disc->trace) disc->trace->Line(disc->name + " raw-open -> " + std::to_string(*error));
            if (*error != 0) return nullptr;
            return std::make_unique<VirtualRawCd>(disc);
        }
        *error = win32error::FileNotFound;
        return nullptr;
    };
}
