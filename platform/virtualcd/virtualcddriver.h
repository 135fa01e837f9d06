// The CD audio driver seam served by virtual drives, each a disc description.
#pragma once

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/cdaudiodriver.h"
#include "platform/cdtransport.h"
#include "platform/framesound.h"
#include "platform/virtualcd/cuesheet.h"
#include "platform/virtualcd/discdescription.h"
#include "platform/virtualcd/drivelock.h"
#include "platform/virtualcd/imagefiles.h"
#include "platform/virtualcd/virtualcd.h"
#include "platform/virtualcd/virtualrawcd.h"

struct VirtualDriveSource {
    std::string name;  // "D:"
    std::string path;  // the description file, or empty for a text given in memory
    bool valid = false;
    std::string problem; // why the description was refused
    std::string notice;  // what the image's CD-Text leaves out
    DiscDescription disc;
    bool namesImage = false;               // the description names a CUE sheet
    std::shared_ptr<const DiscImage> image; // its image, once read; without it the
                                            // drive holds no disc
};


class VirtualCdDriver : public CdAudioDriver {
public:
    // notice receives lines for the diagnostics log; openSound null means the system's
    // wave device.
    VirtualCdDriver(std::vector<VirtualDriveSource> sources, MillisecondClock clock, double speed,
                    const std::string& tracePath, VirtualCdNotice notice = nullptr,
                    SoundOutputOpener openSound = nullptr);
    ~VirtualCdDriver() override;

    std::uint32_t Open(const char* drive, bool shareable, std::uint16_t* deviceId) override;
    std::uint32_t Status(std::uint16_t deviceId, std::uint32_t item, std::int32_t track,
                         std::uint32_t* value) override;
    std::uint32_t InfoMediaIdentity(std::uint16_t deviceId, char* buffer, std::uint32_t size) override;
    std::uint32_t SetTimeFormat(std::uint16_t deviceId, std::uint32_t format) override;
    std::uint32_t SetDoorOpen(std::uint16_t deviceId) override;
    std::uint32_t Play(std::uint16_t deviceId, bool hasFrom, std::uint32_t from, std::uint32_t to) override;
    std::uint32_t Pause(std::uint16_t deviceId) override;
    std::uint32_t Stop(std::uint16_t deviceId) override;
    std::uint32_t Close(std::uint16_t deviceId) override;
    bool ErrorText(std::uint32_t code, char* buffer, std::uint32_t size) override;

    // Raw reads of the same drives, for a digital player.
    RawCdOpener RawOpener() const;

private:
    struct Drive {
        VirtualDriveSource source;
        CdTransport player;
        int opens = 0;
        bool heldExclusively = false;
        std::int64_t readyAt = -1; // clock time the disc has settled; -1 before the first open
        std::unique_ptr<ImageSoundReader> reader = nullptr; // while the drive is open and has played its image
        std::unique_ptr<FrameSound> sound = nullptr;
        bool silent = false;               // no sound output would open: it plays on the clock
        std::shared_ptr<VirtualRawDisc> raw = nullptr; // what its raw reads know of it
    };
    struct Device {
        Drive* drive = nullptr;
        bool shareable = false;
        std::uint32_t timeFormat = mci::FormatMilliseconds;
        std::unique_ptr<DriveLock> lock;
    };

    Drive* FindDrive(const char* name);
    Device* FindDevice(std::uint16_t deviceId);
    std::uint32_t StatusOf(Device& device, std::uint32_t item, std::int32_t track, std::uint32_t* value);
    // Absolute frame <-> the device's time format.
    std::uint32_t EncodePosition(const Device& device, std::int32_t frame) const;
    std::uint32_t EncodeLength(const Device& device, std::int32_t frames) const;
    bool DecodePosition(const Device& device, std::uint32_t value, std::int32_t* frame) const;
    // Not there for commands that need the disc: no disc, or the door opened.
    static bool DiscAbsent(Drive& drive);
    // Still spinning up after the disc went in: it answers "not ready".
    bool Settling(const Drive& drive) const;
    void Trace(const std::string& line);
    void Notice(const std::string& line);
    // An image drive's sound, made at its first play; none at other speeds than 1.
    void PrepareSound(Drive& drive);
    void ReleaseSound(Drive& drive);
    // The sound found no wave output: the drive plays on its clock from now on.
    void SoundLost(Drive& drive, const std::string& problem);

    MillisecondClock clock_;
    double speed_;
    VirtualCdNotice notice_;
    SoundOutputOpener openSound_;
    std::vector<std::unique_ptr<Drive>> drives_;
    std::map<std::uint16_t, Device> devices_;
    std::uint16_t nextDeviceId_ = 1;
    std::shared_ptr<VirtualTrace> trace_;
};

// Drive names for descriptions asking for these letters (0: none): each keeps its own
// letter when free, the others take the next free letter from D: in order.
std::vector<std::string> AssignDriveNames(const std::vector<char>& requestedLetters);
