#include "platform/virtualcd/virtualcddriver.h"

#include <cctype>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/files.h"
#include "platform/virtualcd/mcierrortext.h"

namespace {

constexpr std::int32_t FramesPerSecond = 75;

std::uint32_t PackMsfFrames(std::int32_t frames) {
    const std::uint32_t value = static_cast<std::uint32_t>(frames);
    return ((value / (60 * FramesPerSecond)) & 0xFF) | ((value / FramesPerSecond % 60) << 8) |
           ((value % FramesPerSecond) << 16);
}

std::int32_t UnpackMsfFrames(std::uint32_t msf, bool* valid) {
    const std::uint32_t minute = msf & 0xFF, second = (msf >> 8) & 0xFF, frame = (msf >> 16) & 0xFF;
    *valid = second < 60 && frame < 75 && (msf >> 24) == 0;
    return static_cast<std::int32_t>((minute * 60 + second) * FramesPerSecond + frame);
}

const char* StatusCommand(std::uint32_t item, std::int32_t track) {
    switch (item) {
    case mci::StatusMediaPresent: return "status-media";
    case mci::StatusNumberOfTracks: return "status-tracks";
    case mci::CdaStatusTypeTrack: return "status-type";
    case mci::StatusPosition: return track > 0 ? "status-start" : "status-position";
    case mci::StatusLength: return "status-length";
    case mci::StatusMode: return "status-mode";
    default: return "status";
    }
}

const char* FormatName(std::uint32_t format) {
    switch (format) {
    case mci::FormatMsf: return "msf";
    case mci::FormatTmsf: return "tmsf";
    case mci::FormatMilliseconds: return "milliseconds";
    default: return "unknown";
    }
}

// A disc is taken out of a virtual drive by deleting its description file or adding a
// "nodisc" line to it while the drive is in use, as a user would empty a real drive.
bool TakenOut(const VirtualDriveSource& source) {
    if (source.path.empty()) return false;
    std::ifstream file(FilePath(source.path), std::ios::binary);
    if (!file) return true;
    std::ostringstream text;
    text << file.rdbuf();
    DiscDescription now;
    std::string problem;
    return ParseDiscDescription(text.str(), &now, &problem) && now.noDisc;
}

} // namespace

std::vector<std::string> AssignDriveNames(const std::vector<char>& requestedLetters) {
    bool taken[26] = {};
    std::vector<char> letters(requestedLetters.size(), 0);
    for (std::size_t i = 0; i < requestedLetters.size(); ++i) {
        const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(requestedLetters[i])));
        if (letter >= 'A' && letter <= 'Z' && !taken[letter - 'A']) {
            taken[letter - 'A'] = true;
            letters[i] = letter;
        }
    }
    char next = 'D';
    for (char& letter : letters) {
        if (letter) continue;
        while (next <= 'Z' && taken[next - 'A']) ++next;
        if (next > 'Z') break; // more drives than letters: the rest get no name
        taken[next - 'A'] = true;
        letter = next;
    }
    std::vector<std::string> names;
    for (char letter : letters) names.push_back(letter ? std::string(1, letter) + ":" : std::string());
    return names;
}

VirtualCdDriver::VirtualCdDriver(std::vector<VirtualDriveSource> sources, MillisecondClock clock, double speed,
                                 const std::string& tracePath, VirtualCdNotice notice, SoundOutputOpener openSound)
    : clock_(clock), speed_(speed), notice_(std::move(notice)), openSound_(std::move(openSound)) {
    if (!openSound_) openSound_ = [clock](std::string* problem) { return OpenSoundOutput(clock, problem); };
    trace_ = std::make_shared<VirtualTrace>(tracePath);
    for (VirtualDriveSource& source : sources) {
        const std::int32_t home = source.disc.tracks.empty() ? 0 : source.disc.tracks.front().startFrame;
        const std::int32_t seekMs = source.disc.seekMs;
        drives_.push_back(
            std::unique_ptr<Drive>(new Drive{std::move(source), CdTransport(clock, speed, home, seekMs)}));
        Drive& drive = *drives_.back();
        drive.raw = std::make_shared<VirtualRawDisc>();
        drive.raw->name = drive.source.name;
        drive.raw->disc = drive.source.disc;
        drive.raw->image = drive.source.image;
        // Faster than life there is nothing to hear, digitally either.
        drive.raw->readsAudio = drive.source.image && speed == 1.0;
        drive.raw->clock = clock;
        drive.raw->trace = trace_;
    }
    for (const auto& drive : drives_) {
        if (drive->source.namesImage && !drive->source.image)
            Notice("Virtual CD drive " + drive->source.name + " cannot use its image: " + drive->source.problem);
        if (!drive->source.notice.empty()) Notice("Virtual CD drive " + drive->source.name + " " + drive->source.notice);
    }
}

VirtualCdDriver::~VirtualCdDriver() {
    for (const auto& drive : drives_) ReleaseSound(*drive);
}

RawCdOpener VirtualCdDriver::RawOpener() const {
    std::vector<std::shared_ptr<VirtualRawDisc>> discs;
    for (const auto& drive : drives_) discs.push_back(drive->raw);
    return VirtualRawCdOpener(std::move(discs));
}

void VirtualCdDriver::Notice(const std::string& line) {
    Trace(line);
    if (notice_) notice_(line);
}

void VirtualCdDriver::PrepareSound(Drive& drive) {
    if (drive.sound || drive.silent || !drive.source.image) return;
    // Faster than life there is nothing to hear: the drive keeps to its clock.
    if (speed_ != 1.0) return;
    drive.reader.reset(new ImageSoundReader(*drive.source.image));
    drive.sound.reset(new FrameSound(openSound_, *drive.reader, clock_));
    drive.player.AttachSound(drive.sound.get());
}

void VirtualCdDriver::SoundLost(Drive& drive, const std::string& problem) {
    drive.silent = true;
    Notice("No audio output for the image in " + drive.source.name + ", it plays silently: " + problem);
    ReleaseSound(drive);
}

void VirtualCdDriver::ReleaseSound(Drive& drive) {
    if (!drive.sound) return;
    drive.player.AttachSound(nullptr);
    drive.sound.reset(); // joins its thread
    drive.reader.reset();
}

void VirtualCdDriver::Trace(const std::string& line) { trace_->Line(line); }

VirtualCdDriver::Drive* VirtualCdDriver::FindDrive(const char* name) {
    if (!name || !name[0] || name[1] != ':') return nullptr;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    // "D:" and "D:\" both name the drive.
    if (name[2] != '\0' && !((name[2] == '\\' || name[2] == '/') && name[3] == '\0')) return nullptr;
    for (auto& drive : drives_)
        if (!drive->source.name.empty() && drive->source.name[0] == letter) return drive.get();
    return nullptr;
}

VirtualCdDriver::Device* VirtualCdDriver::FindDevice(std::uint16_t deviceId) {
    auto found = devices_.find(deviceId);
    return found == devices_.end() ? nullptr : &found->second;
}

bool VirtualCdDriver::DiscAbsent(Drive& drive) {
    if (!drive.source.disc.noDisc && TakenOut(drive.source)) drive.source.disc.noDisc = true;
    const bool absent = drive.source.disc.noDisc || drive.player.CurrentMode() == CdTransport::Mode::DoorOpen;
    if (absent) drive.raw->absent = true;
    return absent;
}

bool VirtualCdDriver::Settling(const Drive& drive) const {
    return drive.readyAt >= 0 && clock_() < drive.readyAt;
}

std::uint32_t VirtualCdDriver::Open(const char* name, bool shareable, std::uint16_t* deviceId) {
    const std::string what = std::string(name ? name : "") + " open " + (shareable ? "shareable" : "exclusive");
    Drive* drive = FindDrive(name);
    std::uint32_t error = 0;
    std::unique_ptr<DriveLock> lock;
    if (!drive || !drive->source.valid) {
        error = mci::ErrInvalidFile;
    } else if ((error = InjectedFailure(drive->source.disc, "open")) != 0) {
    } else if (drive->source.disc.busy || drive->heldExclusively || (!shareable && drive->opens > 0)) {
        error = mci::ErrMustUseShareable;
    } else if (!drive->source.path.empty() && !(lock = TryLockDrive(drive->source.path, shareable))) {
        error = mci::ErrMustUseShareable; // another program holds it
    }
    if (error != 0) {
        Trace(what + " -> " + std::to_string(error) +
              (drive && !drive->source.valid ? " (" + drive->source.problem + ")" : std::string()));
        return error;
    }
    const std::uint16_t id = nextDeviceId_++;
    Device& device = devices_[id];
    device.drive = drive;
    device.shareable = shareable;
    device.lock = std::move(lock);
    ++drive->opens;
    drive->heldExclusively = !shareable;
    // The disc spins up when the drive is first used; later opens find it as it is.
    if (drive->readyAt < 0) drive->readyAt = drive->raw->readyAt = clock_() + drive->source.disc.settleMs;
    *deviceId = id;
    Trace(what + " -> 0 device " + std::to_string(id));
    return 0;
}

std::uint32_t VirtualCdDriver::Close(std::uint16_t deviceId) {
    Device* device = FindDevice(deviceId);
    std::uint32_t error = mci::ErrInvalidDeviceId;
    std::string drive = "?";
    if (device) {
        drive = device->drive->source.name;
        error = InjectedFailure(device->drive->source.disc, "close");
        if (error == 0) {
            // The driver stops the drive on every close, shared or not.
            device->drive->player.Stop();
            --device->drive->opens;
            if (device->drive->opens == 0) ReleaseSound(*device->drive);
            if (!device->shareable) device->drive->heldExclusively = false;
            devices_.erase(deviceId); // drops the lock
        }
    }
    Trace(drive + " close device " + std::to_string(deviceId) + " -> " + std::to_string(error));
    return error;
}

std::uint32_t VirtualCdDriver::EncodePosition(const Device& device, std::int32_t frame) const {
    const DiscDescription& disc = device.drive->source.disc;
    switch (device.timeFormat) {
    case mci::FormatMsf: return PackMsfFrames(frame);
    case mci::FormatTmsf: {
        std::size_t track = 0;
        while (track + 1 < disc.tracks.size() && disc.tracks[track + 1].startFrame <= frame) ++track;
        const std::int32_t start = disc.tracks.empty() ? 0 : disc.tracks[track].startFrame;
        const std::int32_t into = frame > start ? frame - start : 0;
        return static_cast<std::uint32_t>(track + 1) | PackMsfFrames(into) << 8;
    }
    default: return static_cast<std::uint32_t>(static_cast<std::int64_t>(frame) * 1000 / FramesPerSecond);
    }
}

std::uint32_t VirtualCdDriver::EncodeLength(const Device& device, std::int32_t frames) const {
    // Lengths carry no track: in TMSF the driver gives them as MSF.
    if (device.timeFormat == mci::FormatMsf || device.timeFormat == mci::FormatTmsf) return PackMsfFrames(frames);
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(frames) * 1000 / FramesPerSecond);
}

bool VirtualCdDriver::DecodePosition(const Device& device, std::uint32_t value, std::int32_t* frame) const {
    const DiscDescription& disc = device.drive->source.disc;
    bool valid = true;
    switch (device.timeFormat) {
    case mci::FormatMsf: *frame = UnpackMsfFrames(value, &valid); break;
    case mci::FormatTmsf: {
        const std::uint32_t track = value & 0xFF;
        if (track < 1 || track > disc.tracks.size()) return false;
        *frame = disc.tracks[track - 1].startFrame + UnpackMsfFrames(value >> 8, &valid);
        break;
    }
    default: *frame = static_cast<std::int32_t>(static_cast<std::int64_t>(value) * FramesPerSecond / 1000); break;
    }
    return valid;
}

std::uint32_t VirtualCdDriver::StatusOf(Device& device, std::uint32_t item, std::int32_t track, std::uint32_t* value) {
    Drive& drive = *device.drive;
    const DiscDescription& disc = drive.source.disc;
    if (item == mci::StatusMediaPresent) {
        *value = DiscAbsent(drive) ? 0 : 1;
        return 0;
    }
    if (item == mci::StatusMode) {
        if (DiscAbsent(drive)) *value = mci::ModeOpen;
        else if (disc.notReady || Settling(drive)) *value = mci::ModeNotReady;
        else {
            switch (drive.player.CurrentMode()) {
            case CdTransport::Mode::Seeking: *value = mci::ModeSeek; break;
            case CdTransport::Mode::Playing: *value = mci::ModePlay; break;
            case CdTransport::Mode::Paused: *value = mci::ModePause; break;
            default: *value = mci::ModeStop; break;
            }
        }
        return 0;
    }
    if (DiscAbsent(drive) || Settling(drive)) return mci::ErrDeviceNotReady;
    const bool trackGiven = track > 0;
    if (trackGiven && static_cast<std::size_t>(track) > disc.tracks.size()) return mci::ErrOutOfRange;
    const std::size_t index = trackGiven ? static_cast<std::size_t>(track) - 1 : 0;
    switch (item) {
    case mci::StatusNumberOfTracks: *value = static_cast<std::uint32_t>(disc.tracks.size()); return 0;
    case mci::CdaStatusTypeTrack:
        if (!trackGiven) return mci::ErrOutOfRange;
        *value = disc.tracks[index].audio ? mci::CdaTrackAudio : mci::CdaTrackOther;
        return 0;
    case mci::StatusPosition:
        if (trackGiven)
            *value = device.timeFormat == mci::FormatTmsf ? static_cast<std::uint32_t>(track)
                                                          : EncodePosition(device, disc.tracks[index].startFrame);
        else
            *value = EncodePosition(device, drive.player.PositionFrame());
        return 0;
    case mci::StatusLength:
        if (trackGiven) *value = EncodeLength(device, ReportedLengthFrames(disc, index));
        else if (disc.tracks.empty()) *value = 0;
        else *value = EncodeLength(device, disc.leadOut - disc.tracks.front().startFrame);
        return 0;
    default: return mci::ErrUnsupportedFunction;
    }
}

std::uint32_t VirtualCdDriver::Status(std::uint16_t deviceId, std::uint32_t item, std::int32_t track,
                                      std::uint32_t* value) {
    const char* command = StatusCommand(item, track);
    std::string what = std::string(command) + (track > 0 ? " track " + std::to_string(track) : std::string());
    Device* device = FindDevice(deviceId);
    std::uint32_t error = mci::ErrInvalidDeviceId;
    std::uint32_t answer = 0;
    if (device) {
        what = device->drive->source.name + " " + what;
        error = InjectedFailure(device->drive->source.disc, command);
        if (error == 0) error = StatusOf(*device, item, track, &answer);
    } else {
        what = "? " + what;
    }
    if (error == 0) *value = answer;
    Trace(what + " -> " + std::to_string(error) + (error == 0 ? " " + std::to_string(answer) : std::string()));
    return error;
}

std::uint32_t VirtualCdDriver::InfoMediaIdentity(std::uint16_t deviceId, char* buffer, std::uint32_t size) {
    Device* device = FindDevice(deviceId);
    std::uint32_t error = mci::ErrInvalidDeviceId;
    std::string identity;
    if (device) {
        error = InjectedFailure(device->drive->source.disc, "info-identity");
        if (error == 0 && (DiscAbsent(*device->drive) || Settling(*device->drive))) error = mci::ErrDeviceNotReady;
        if (error == 0) identity = MediaIdentityText(device->drive->source.disc);
    }
    if (error == 0 && size > 0) {
        std::strncpy(buffer, identity.c_str(), size - 1);
        buffer[size - 1] = '\0';
    }
    Trace((device ? device->drive->source.name : std::string("?")) + " info-identity -> " + std::to_string(error) +
          (error == 0 ? " " + identity : std::string()));
    return error;
}

std::uint32_t VirtualCdDriver::SetTimeFormat(std::uint16_t deviceId, std::uint32_t format) {
    Device* device = FindDevice(deviceId);
    std::uint32_t error = mci::ErrInvalidDeviceId;
    if (device) {
        const char* command = format == mci::FormatTmsf ? "set-tmsf" : format == mci::FormatMsf ? "set-msf" : "";
        error = *command ? InjectedFailure(device->drive->source.disc, command) : 0;
        if (error == 0 && format != mci::FormatMsf && format != mci::FormatTmsf && format != mci::FormatMilliseconds)
            error = mci::ErrBadTimeFormat;
        if (error == 0) device->timeFormat = format;
    }
    Trace((device ? device->drive->source.name : std::string("?")) + " set time format " + FormatName(format) +
          " -> " + std::to_string(error));
    return error;
}

std::uint32_t VirtualCdDriver::SetDoorOpen(std::uint16_t deviceId) {
    Device* device = FindDevice(deviceId);
    std::uint32_t error = mci::ErrInvalidDeviceId;
    if (device) {
        error = InjectedFailure(device->drive->source.disc, "set-door");
        if (error == 0) {
            device->drive->player.OpenDoor();
            device->drive->raw->absent = true;
        }
    }
    Trace((device ? device->drive->source.name : std::string("?")) + " set-door open -> " + std::to_string(error));
    return error;
}

std::uint32_t VirtualCdDriver::Play(std::uint16_t deviceId, bool hasFrom, std::uint32_t from, std::uint32_t to) {
    Device* device = FindDevice(deviceId);
    std::uint32_t error = mci::ErrInvalidDeviceId;
    if (device) {
        Drive& drive = *device->drive;
        const DiscDescription& disc = drive.source.disc;
        std::int32_t fromFrame = 0, toFrame = 0;
        error = InjectedFailure(disc, "play");
        if (error == 0 && (DiscAbsent(drive) || Settling(drive))) error = mci::ErrDeviceNotReady;
        if (error == 0 && disc.tracks.empty()) error = mci::ErrOutOfRange;
        if (error == 0) {
            // The driver refuses positions before the first track and at or past the
            // lead-out; a play without a start goes on from where the drive stands.
            const std::int32_t first = disc.tracks.front().startFrame;
            if (!hasFrom) fromFrame = drive.player.PositionFrame();
            const bool fromValid = !hasFrom || (DecodePosition(*device, from, &fromFrame) && fromFrame >= first &&
                                                fromFrame < disc.leadOut);
            const bool toValid = DecodePosition(*device, to, &toFrame) && toFrame > first && toFrame < disc.leadOut;
            if (!fromValid || !toValid || fromFrame > toFrame) error = mci::ErrOutOfRange;
            // The drive itself plays audio only: a range into a data track or across
            // the gap between sessions fails as a hardware error.
            else if (!AudioRange(disc, fromFrame, toFrame)) error = mci::ErrHardware;
        }
        if (error == 0) {
            PrepareSound(drive);
            std::string problem;
            if (!drive.player.Play(hasFrom, fromFrame, toFrame, &problem)) SoundLost(drive, problem);
        }
    }
    // Both ends in one notation: packed positions read best byte by byte, in hexadecimal.
    char start[24] = "";
    if (hasFrom) std::snprintf(start, sizeof start, " from %08x", static_cast<unsigned>(from));
    char line[96];
    std::snprintf(line, sizeof line, " play%s to %08x -> %u", start, static_cast<unsigned>(to),
                  static_cast<unsigned>(error));
    Trace((device ? device->drive->source.name : std::string("?")) + line);
    return error;
}

std::uint32_t VirtualCdDriver::Pause(std::uint16_t deviceId) {
    Device* device = FindDevice(deviceId);
    std::uint32_t error = mci::ErrInvalidDeviceId;
    if (device) {
        Drive& drive = *device->drive;
        error = InjectedFailure(drive.source.disc, "pause");
        if (error == 0 && (DiscAbsent(drive) || Settling(drive))) error = mci::ErrDeviceNotReady;
        // A drive pauses only audio that is under way: pausing a stopped drive fails.
        const CdTransport::Mode mode = drive.player.CurrentMode();
        if (error == 0 && mode == CdTransport::Mode::Stopped) error = mci::ErrHardware;
        if (error == 0) drive.player.Pause();
    }
    Trace((device ? device->drive->source.name : std::string("?")) + " pause -> " + std::to_string(error));
    return error;
}

std::uint32_t VirtualCdDriver::Stop(std::uint16_t deviceId) {
    Device* device = FindDevice(deviceId);
    std::uint32_t error = mci::ErrInvalidDeviceId;
    if (device) {
        error = InjectedFailure(device->drive->source.disc, "stop");
        if (error == 0 && (DiscAbsent(*device->drive) || Settling(*device->drive))) error = mci::ErrDeviceNotReady;
        if (error == 0) device->drive->player.Stop();
    }
    Trace((device ? device->drive->source.name : std::string("?")) + " stop -> " + std::to_string(error));
    return error;
}

bool VirtualCdDriver::ErrorText(std::uint32_t code, char* buffer, std::uint32_t size) {
    return VirtualMciErrorText(code, buffer, size);
}
